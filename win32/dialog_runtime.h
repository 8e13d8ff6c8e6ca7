// The in-memory dialogs behind the Win32 calls: one record per dialog and
// per control, handles that are checked before use, and the modal loop in
// which the current user (win32/dialog_driver.h) acts.
#ifndef WIN32_DIALOG_RUNTIME_H
#define WIN32_DIALOG_RUNTIME_H

#include <memory>
#include <string>
#include <vector>

#include "win32/resource_script.h"
#include "win32/windows.h"

namespace win32 {

struct Dialog;

// Common head of the records an HWND points at.
struct Window {
  bool is_dialog = false;
};

struct Control : Window {
  Dialog *dialog = nullptr;            // the dialog that holds it
  ControlTemplate tmpl;                // kind, id, place and styles from the template
  std::string text;                    // caption, or the contents of an edit
  UINT check = BST_UNCHECKED;          // check boxes and radio buttons
  std::vector<std::string> items;      // combo box list
  int selection = CB_ERR;              // combo box selection, CB_ERR when none
  bool enabled = true;
  bool visible = true;
  // Keyboard state of the front ends.
  size_t caret = 0;                    // edit: insertion point
  bool select_all = false;             // edit: the next typed character replaces the text
  bool dropped = false;                // combo box: its list is open
  int highlight = CB_ERR;              // combo box: entry marked in the open list
};

// What built a dialog: a template of the module, MessageBoxA, or the text
// prompt that stands in for choosers.
enum class DialogRole { kTemplate, kMessageBox, kPrompt };

struct Dialog : Window {
  DialogRole role = DialogRole::kTemplate;
  std::string name;                    // template name ("OptionsDialog"); "" for built ones
  std::string caption;
  int width = 0, height = 0;           // dialog units
  RECT rect{0, 0, 0, 0};               // screen pixels
  HWND owner = nullptr;
  DLGPROC procedure = nullptr;
  UINT message_box_type = 0;           // MessageBoxA's type for kMessageBox
  std::vector<std::unique_ptr<Control>> controls;  // template order = tab order
  Control *focus = nullptr;
  bool ended = false;
  INT_PTR result = 0;

  Control *Find(int id) const;
};

// Pixels per dialog unit follow a 6 x 13 pixel average character.
constexpr int kBaseUnitX = 6;
constexpr int kBaseUnitY = 13;
constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;

inline HWND HandleOf(Window *window) { return reinterpret_cast<HWND>(window); }

// Records behind handles; null for a handle that is not a live window of
// this layer (a host's own window, a closed dialog, garbage).
Window *FromHandle(HWND handle);
Dialog *DialogOf(HWND handle);
Control *ControlOf(HWND handle);
Control *FindControl(HWND dialog, int id);

// A dialog with the controls of a template, not yet shown.
std::unique_ptr<Dialog> BuildDialog(const DialogTemplate &tmpl);
// Adds a control to a dialog being built.
Control *AddControl(Dialog *dialog, const ControlTemplate &tmpl);

// Shows the dialog modally: WM_INITDIALOG with init_param, then the current
// user acts until EndDialog. The record stays with the caller, its handles
// die when this returns. A user who gives up ends it with -1.
INT_PTR RunModal(Dialog *dialog, LPARAM init_param);

// The dialogs being shown, the innermost last.
const std::vector<Dialog *> &OpenDialogs();

// Sends a message to the dialog's procedure; FALSE when it has none.
INT_PTR SendToProcedure(Dialog *dialog, UINT message, WPARAM wparam, LPARAM lparam);
// WM_COMMAND from a control with a notification code.
INT_PTR Notify(Control *control, WORD code);

// True for controls that take the focus and input when enabled and shown.
bool IsInteractive(const Control &control);

// The controls of the control's group: from the nearest WS_GROUP control at
// or before it up to the next one, as radio buttons group on Windows.
std::vector<Control *> GroupOf(const Control &control);

}  // namespace win32

#endif
