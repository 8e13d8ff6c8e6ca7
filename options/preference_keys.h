// The keys of the preferences file "vorlix.ini", in file order, with how
// each value is written and read and where it is kept.
#ifndef OPTIONS_PREFERENCE_KEYS_H
#define OPTIONS_PREFERENCE_KEYS_H

#include <cstddef>
#include <cstdio>

#include "host/kv_toolkit.h"
#include "plugin/import_options.h"

enum class PrefFormat {
  kInt16,      // "%d", read with atoi, low 16 bits kept
  kIndex16,    // "%d", read with atof and truncated toward zero, low 16 bits kept
  kInt32,      // "%ld", read with atoi
  kFloatG,     // "%g", read with atof, rounded to single precision
  kFloatF,     // "%f", read with atof, rounded to single precision
  kDirectory,  // "%s", or "\"\"" for no directory; read as a text copy
};

struct PrefKey {
  const char *key;            // the preference key, case-sensitive
  PrefFormat format;
  size_t offset;              // place in ImportOptions, when module_value is null
  void *module_value;         // a module-level value beside the record, or null
};

constexpr size_t kPreferenceKeyCount = 57;
extern const PrefKey kPreferenceKeys[kPreferenceKeyCount];

// The row of a key, compared whole and case-sensitively; null when unknown.
const PrefKey *FindPreferenceKey(const char *key);

// The value a row describes, inside options or at module level.
void *PreferenceValue(const PrefKey &row, ImportOptions &options);

// Copies a caller's path into a buffer that Kv_Convert_Pathname may rewrite;
// false for a null path or one too long for the buffer.
bool CopyPreferencesPath(const char *path, char (&buffer)[KV_MAX_PATH]);

#endif
