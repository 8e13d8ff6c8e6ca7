// Dialog templates read from a module's resource script (.rc text), the
// form in which a module without Windows carries its dialogs.
#ifndef WIN32_RESOURCE_SCRIPT_H
#define WIN32_RESOURCE_SCRIPT_H

#include <map>
#include <string>
#include <vector>

namespace win32 {

enum class ControlKind { kStatic, kGroupBox, kPushButton, kCheckBox, kRadioButton, kEdit, kComboBox };

enum class TextAlign { kLeft, kCenter, kRight };

// One control statement of a DIALOG block. Positions are dialog units.
struct ControlTemplate {
  ControlKind kind = ControlKind::kStatic;
  std::string text;                  // as written, "&" marks the mnemonic, "&&" is one ampersand
  int id = -1;                       // -1 for IDC_STATIC
  int x = 0, y = 0, width = 0, height = 0;
  bool automatic = false;            // AUTOCHECKBOX / AUTORADIOBUTTON: the control sets its own mark
  bool default_button = false;       // DEFPUSHBUTTON / BS_DEFPUSHBUTTON
  bool read_only = false;            // ES_READONLY
  bool disabled = false;             // WS_DISABLED
  bool hidden = false;               // NOT WS_VISIBLE
  bool group_start = false;          // WS_GROUP: first control of a radio or tab group
  bool tab_stop = false;             // WS_TABSTOP
  TextAlign align = TextAlign::kLeft;  // statics: LTEXT, CTEXT, RTEXT
  int line = 0;                      // line of the statement in the script
};

struct DialogTemplate {
  std::string name;                  // as written in the script
  std::string caption;
  std::string font_name;
  int font_size = 8;
  int x = 0, y = 0, width = 0, height = 0;
  std::vector<ControlTemplate> controls;  // in script order, which is the tab order
};

struct ResourceScript {
  std::map<std::string, DialogTemplate> dialogs;  // by upper-case name, as Windows finds them
  std::map<std::string, long> symbols;            // #define NAME number
};

// Parses the DIALOG / DIALOGEX blocks and #define lines of an .rc text.
// Other resource kinds and preprocessor lines are skipped. On a syntax error
// answers false with "line N: what" in *error.
bool ParseResourceScript(const std::string &text, ResourceScript *script, std::string *error);

// The template of that name (compared as Windows does, ignoring case);
// null when there is none.
const DialogTemplate *FindDialogTemplate(const ResourceScript &script, const std::string &name);

// Text as shown: "&&" becomes "&", a single "&" is dropped; *mnemonic_at
// gets the position in the shown text of the character after it, -1 when
// there is none.
std::string DisplayText(const std::string &text, int *mnemonic_at = nullptr);

}  // namespace win32

#endif
