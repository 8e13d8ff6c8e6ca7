// The keyboard interface of a dialog, as Windows' dialog manager gives it:
// Tab and the arrows move the focus, Space and Enter press, Escape cancels,
// typing edits a field, a mnemonic letter presses its control.
#ifndef WIN32_DIALOG_KEYBOARD_H
#define WIN32_DIALOG_KEYBOARD_H

#include "win32/dialog_driver.h"

namespace win32 {

enum class KeyCode {
  kChar,       // a printable character, in Key::ch
  kTab,
  kBackTab,    // Shift+Tab
  kUp,
  kDown,
  kLeft,
  kRight,
  kHome,
  kEnd,
  kEnter,
  kEscape,
  kBackspace,
  kDelete,
};

struct Key {
  KeyCode code;
  char ch = 0;
};

// Applies one key to the window. A key can open a nested modal window (a
// pressed button that shows a message box); it returns once that is closed.
void PressKey(DialogDriver &window, Key key);

}  // namespace win32

#endif
