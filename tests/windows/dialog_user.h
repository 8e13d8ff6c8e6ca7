// A user for the plug-in's dialogs on the real dialog manager: while the
// test's thread sits in the plug-in's modal dialog, a second thread finds
// the dialog's window and works its controls with window messages.
#ifndef TESTS_WINDOWS_DIALOG_USER_H
#define TESTS_WINDOWS_DIALOG_USER_H

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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
// The same without waiting: the dialog may answer with a message box.
void Select(HWND dialog, int id, int index);
// Returns once the dialog's thread reads its messages again: the handler
// that was running (what goes on after a message box is answered) is done.
void Settle(HWND dialog);
bool Checked(HWND dialog, int id);
bool Enabled(HWND dialog, int id);
bool Visible(HWND dialog, int id);
// The text of a control, as stored ("&" mnemonics included).
std::string Text(HWND dialog, int id);
// The entries of a drop-down list, and the one selected ("" when none).
std::vector<std::string> Items(HWND dialog, int id);
std::string SelectedItem(HWND dialog, int id);
// The keyboard's Escape, as the dialog's message loop receives it.
void PressEscape(HWND dialog);
// The close button of the title bar.
void PressCloseBox(HWND dialog);

// The message box with that title owned by owner, once it is up; null after
// a few seconds without one.
HWND WaitForMessageBox(HWND owner, const char *title);
// The dialog window of any title that owner owns, once one is up; null
// after a few seconds without one.
HWND WaitForOwnedDialog(HWND owner);
// The message text of a message box.
std::string MessageText(HWND box);
// The icon a message box shows; null without one.
HICON MessageIcon(HWND box);
// Closes a message box with its OK button, or with the button given.
void Acknowledge(HWND box);
void Answer(HWND box, int button);
// True once window is gone, false if it is still there after a few seconds.
bool WaitUntilClosed(HWND window);

// A top-level window of the calling thread, as a host's main window: the
// plug-in's "parent_hWnd" for as long as the object lives.
class HostWindow {
 public:
  HostWindow();
  ~HostWindow();
  HostWindow(const HostWindow &) = delete;
  HostWindow &operator=(const HostWindow &) = delete;
  HWND handle() const { return window_; }

 private:
  HWND window_;
};

}  // namespace windows_test

#endif
