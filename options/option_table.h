// The one table of the import options. For each option it says where the
// value is kept, its default, its line in the preferences file, whether the
// host may set it per run, and its control in the options dialog. The
// defaults, the run-time tokens, the preferences reader and writer and the
// options dialog all work from it.
#ifndef OPTIONS_OPTION_TABLE_H
#define OPTIONS_OPTION_TABLE_H

#include <cstddef>
#include <cstdint>

#include "state/import_options.h"

// A value's type and its text in the preferences file.
enum class OptionFormat {
  kInt16,      // 16-bit: "%d", read with atoi, low 16 bits kept
  kIndex16,    // 16-bit: "%d", read with atof and truncated toward zero
  kInt32,      // 32-bit: "%ld", read with atoi
  kFloatG,     // float: "%g", read with atof, rounded to single precision
  kFloatF,     // float: "%f", read with atof, rounded to single precision
  kDirectory,  // owned string: "%s", or "\"\"" for none; read as a text copy
};

// Where a value is kept: a member of ImportOptions, or a module-level value
// beside the record (the shading modifiers). Exactly one of the two is set.
template <typename T>
struct OptionSlot {
  T ImportOptions::*field;  // the member, or null
  T *module;                // the module-level value, or null
  T &In(ImportOptions &options) const { return field ? options.*field : *module; }
};

enum class OptionControlKind {
  kNone,          // not a control of its own (the shading group edits the modifiers)
  kCheckBox,      // check box whose mark the dialog sets; 1 marked, 0 not
  kAutoCheckBox,  // automatic check box; the dialog still sets the mark from the flag
  kRadioPair,     // id marked for 1, second_id for 0
  kList,          // drop-down list; the position is the value
  kReversedList,  // drop-down list; the value is the last position minus the position
  kDirectoryText, // read-only edit showing a directory, empty for none
  kNumberEdit,    // float typed in, tested and stored on OK
  kIntegerEdit,   // 32-bit integer typed in, tested and stored on OK
};

// When OK tests a typed number: OK also refuses a missing texture directory,
// after the numbers of the first stage and before those of the second.
enum class AcceptStage { kBeforeTextureDirectory, kAfterTextureDirectory };

enum class NumberRule {
  kNone,
  kSmoothingAngle,  // the import support library's own angle test and message
  kAbove,           // refused unless greater than bound
  kNotBelow,        // refused when less than bound
};

// The test OK applies to a typed number; the message box has an OK button,
// and the focus goes back to the field.
struct NumberCheck {
  NumberRule rule;
  double bound;
  const char *message;
  const char *caption;
  AcceptStage stage;
};

struct OptionControl {
  OptionControlKind kind;
  int id;                    // control id in "OptionsDialog" (options/resource.h)
  int second_id;             // kRadioPair: the button for 0; else 0
  const char *const *items;  // lists: the names in list order; else null
  int item_count;
  NumberCheck check;         // edits: the test on OK
};

// One option; the table's rows are in the order of the preferences file.
struct OptionRow {
  const char *key;                  // preference key, case-sensitive; the run-time token when token is set
  OptionFormat format;              // says which slot below holds the value
  OptionSlot<int16_t> short_value;  // kInt16, kIndex16
  OptionSlot<int32_t> long_value;   // kInt32
  OptionSlot<float> float_value;    // kFloatG, kFloatF
  OptionSlot<char *> directory;     // kDirectory
  float default_value;              // directories default to none
  bool token;                       // "execute_geometry_converter" accepts the key as a token
  OptionControl control;
};

constexpr size_t kOptionCount = 57;
extern const OptionRow option_table[kOptionCount];

// Run-time tokens of our own host: options of no preferences file and no
// dialog, left out of the table above.
constexpr size_t kRunOnlyOptionCount = 6;
extern const OptionRow run_only_options[kRunOnlyOptionCount];

// The row of a key, compared whole and case-sensitively; null when unknown.
const OptionRow *FindOption(const char *key);
// The row of a run-time token: a table row marked as token, or a run-only
// option; null for any other name.
const OptionRow *FindRunToken(const char *token);
// The row whose dialog control has this id (either button of a radio pair);
// null when no option has it.
const OptionRow *FindOptionControl(int id);

#endif
