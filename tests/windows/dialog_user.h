// A user for the plug-in's dialogs on the real dialog manager: while the
// test's thread sits in the plug-in's modal dialog, a second thread finds
// the dialog's window and works its controls with window messages.
#ifndef TESTS_WINDOWS_DIALOG_USER_H
#define TESTS_WINDOWS_DIALOG_USER_H

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace windows_test {

// Sends command ("show_options_dialog", "show_about_dialog") to the plug-in
// on this thread while act(dialog) runs on another, once the dialog with
// that title is up; the command's result. If act leaves the dialog open,
// it is cancelled (or the test would hang), and that is a failure.
int32_t RunDialog(const char *command, const char *title, const std::function<void(HWND)> &act);

// Clicks a check box or radio button and returns when the dialog has handled it.
void Click(HWND dialog, int id);
// Clicks a push button without waiting: the dialog may open a message box
// or close in answer.
void Press(HWND dialog, int id);
// Types text into an edit field.
void Type(HWND dialog, int id, const char *text);
// Selects an entry of a drop-down list, as the user's choice (with the
// selection-change notification the dialog acts on).
void Choose(HWND dialog, int id, int index);
bool Checked(HWND dialog, int id);

// The message box with that title owned by owner, once it is up; null after
// a few seconds without one.
HWND WaitForMessageBox(HWND owner, const char *title);
// The message text of a message box.
std::string MessageText(HWND box);
// Closes a message box with its OK button.
void Acknowledge(HWND box);
// True once window is gone, false if it is still there after a few seconds.
bool WaitUntilClosed(HWND window);

}  // namespace windows_test

#endif
