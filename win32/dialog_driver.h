// How a test or a front end plays the user of the in-memory dialogs: a
// DialogUser is asked to act whenever a modal window (a template dialog, a
// message box or a text prompt) waits for input, and acts through a
// DialogDriver on that window.
#ifndef WIN32_DIALOG_DRIVER_H
#define WIN32_DIALOG_DRIVER_H

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "win32/resource_script.h"
#include "win32/windows.h"

namespace win32 {

// Ids of the controls of built windows.
constexpr int kMessageTextId = 0xFFFF;   // the text of a message box
constexpr int kPromptTextId = 0xFFFE;    // the question of a text prompt
constexpr int kPromptEditId = 1000;      // the answer field of a text prompt

// Acts on one modal window and reads what it shows. Every action answers
// false, and does nothing, when the control is missing, hidden or greyed,
// as a mouse click on it would do nothing.
class DialogDriver {
 public:
  explicit DialogDriver(HWND window) : window_(window) {}

  HWND handle() const { return window_; }
  bool IsOpen() const;                // shown and not yet ended
  std::string TemplateName() const;   // "OptionsDialog"; "" for message boxes and prompts
  std::string Caption() const;
  bool IsMessageBox() const;
  bool IsPrompt() const;
  UINT MessageBoxType() const;        // MessageBoxA's type: buttons and icon
  std::string MessageText() const;    // message box text or prompt question

  // ---- What the user does ----
  bool Click(int id);                 // button, check box or radio button; focuses an edit
  bool Choose(int id, int index);     // combo box entry by position
  bool Choose(int id, const std::string &item);
  bool Type(int id, const std::string &text);  // replaces an edit's text
  bool PressOk() { return Click(IDOK); }
  bool PressCancel() { return Click(IDCANCEL); }
  bool PressEscape();                 // the keyboard's Escape, or the title bar's close button
  bool Answer(int button) { return Click(button); }  // message box buttons: IDOK, IDYES, IDNO ...

  // ---- What the dialog shows ----
  bool Exists(int id) const;
  ControlKind Kind(int id) const;
  std::string Text(int id) const;     // as stored, "&" mnemonics included
  std::string ShownText(int id) const;  // as displayed
  bool Checked(int id) const;
  bool Enabled(int id) const;
  bool Visible(int id) const;
  std::vector<std::string> Items(int id) const;
  int Selection(int id) const;        // CB_ERR when none
  std::string SelectedItem(int id) const;
  int Focus() const;                  // id of the control with the focus, 0 when none
  std::vector<int> ControlIds() const;

 private:
  HWND window_;
};

class DialogUser {
 public:
  virtual ~DialogUser() = default;
  // Called while `window` waits for input: performs any number of actions.
  // Answers false to give up; the window then closes with its failure
  // result (-1 for dialogs, 0 for message boxes).
  virtual bool Act(DialogDriver &window) = 0;
};

// The user that modal windows ask; without one, dialogs fail at once with
// -1 and message boxes answer their default button. Returns the previous one.
DialogUser *SetDialogUser(DialogUser *user);
DialogUser *CurrentDialogUser();

class ScopedDialogUser {
 public:
  explicit ScopedDialogUser(DialogUser *user) : previous_(SetDialogUser(user)) {}
  ~ScopedDialogUser() { SetDialogUser(previous_); }
  ScopedDialogUser(const ScopedDialogUser &) = delete;
  ScopedDialogUser &operator=(const ScopedDialogUser &) = delete;

 private:
  DialogUser *previous_;
};

// A user that follows a script: each time a window waits, the next step
// runs on it. A step that opens another modal window (a click that shows a
// message box) lets the following steps act there before it goes on.
class ScriptedUser : public DialogUser {
 public:
  using Step = std::function<void(DialogDriver &)>;
  ScriptedUser() = default;
  ScriptedUser(std::initializer_list<Step> steps) : steps_(steps) {}
  ScriptedUser &Then(Step step);
  bool Act(DialogDriver &window) override;
  size_t remaining() const { return steps_.size(); }

 private:
  std::deque<Step> steps_;
};

// The modal windows being shown, the one waiting for input last.
std::vector<HWND> OpenWindows();

// Every message box shown, in order, with the answer it got.
struct MessageBoxRecord {
  HWND owner;
  std::string text;
  std::string caption;
  UINT type;
  int answer;                         // the button that closed it, 0 when abandoned
};
const std::vector<MessageBoxRecord> &MessageBoxLog();
void ClearMessageBoxLog();

// A modal box that asks for one line of text: the stand-in for the choosers
// (directories, files) that Windows offers. Answers false when cancelled.
bool PromptForText(HWND owner, const std::string &title, const std::string &question, std::string *text);

}  // namespace win32

#endif
