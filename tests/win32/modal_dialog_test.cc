#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "tests/win32/test_dialog.h"

using win32::DialogDriver;
using win32::ScriptedUser;

TEST(ModalDialog, FailsWithoutTemplateOrUser) {
  EXPECT_EQ(DialogBoxParamA(TestModule(), "NoSuchDialog", nullptr, TestDialogProc, 0), -1);
  EXPECT_EQ(DialogBoxParamA(nullptr, "TestDialog", nullptr, TestDialogProc, 0), -1);
  Win32ModuleResources broken = {"D DIALOG 0,0,1,1\nBEGIN\n"};
  EXPECT_EQ(DialogBoxParamA(reinterpret_cast<HINSTANCE>(&broken), "D", nullptr, TestDialogProc, 0), -1);
  // Nobody to use it: the dialog fails once it is initialised.
  EXPECT_EQ(DialogBoxParamA(TestModule(), "TestDialog", nullptr, TestDialogProc, 0), -1);
  ScriptedUser gives_up;
  EXPECT_EQ(RunTestDialog(gives_up, 7), -1);
  EXPECT_EQ(ProcedureLog(), std::vector<std::string>{"init 7"});
}

TEST(ModalDialog, ControlsBehaveAsOnWindows) {
  HWND seen = nullptr;
  ScriptedUser user{[&](DialogDriver &d) {
    seen = d.handle();
    EXPECT_EQ(d.Caption(), "Test Dialog");
    EXPECT_EQ(d.Focus(), IDC_LIGHTS);  // first tab stop
    EXPECT_EQ(d.Items(IDC_MODE), (std::vector<std::string>{"Fast", "Exact", "Both"}));
    EXPECT_EQ(d.SelectedItem(IDC_MODE), "Exact");
    // Automatic boxes mark themselves, plain ones wait for the procedure.
    EXPECT_TRUE(d.Click(IDC_LIGHTS));
    EXPECT_TRUE(d.Checked(IDC_LIGHTS));
    EXPECT_TRUE(d.Click(IDC_CAMERAS));
    EXPECT_TRUE(d.Checked(IDC_CAMERAS));
    EXPECT_TRUE(d.Click(IDC_FAR));
    EXPECT_TRUE(d.Checked(IDC_FAR) && !d.Checked(IDC_NEAR));
    EXPECT_TRUE(d.Click(IDC_UP));
    EXPECT_TRUE(d.Click(IDC_DOWN));
    EXPECT_TRUE(d.Checked(IDC_DOWN) && !d.Checked(IDC_UP) && d.Checked(IDC_FAR));
    EXPECT_TRUE(d.Choose(IDC_MODE, "Both"));
    EXPECT_FALSE(d.Choose(IDC_MODE, 3));
    EXPECT_TRUE(d.Type(IDC_SIZE, "12"));
    EXPECT_FALSE(d.Type(IDC_PATH, "greyed"));
    EXPECT_FALSE(d.Click(9999));
    char text[8];
    EXPECT_EQ(GetDlgItemTextA(d.handle(), IDC_SIZE, text, 2), 1u);
    EXPECT_STREQ(text, "1");
    EXPECT_EQ(SendDlgItemMessageA(d.handle(), IDC_MODE, CB_SETCURSEL, 5, 0), CB_ERR);
    EXPECT_EQ(d.Selection(IDC_MODE), CB_ERR);
    ShowWindow(GetDlgItem(d.handle(), IDC_SIZE), SW_HIDE);
    EXPECT_FALSE(d.Type(IDC_SIZE, "13"));
    EXPECT_TRUE(d.PressOk());
  }};
  EXPECT_EQ(RunTestDialog(user), 1);
  EXPECT_EQ(ProcedureLog(), (std::vector<std::string>{"init 0", "command 101 0", "command 102 0", "command 104 0",
                                                       "command 105 0", "command 106 0", "command 108 1",
                                                       "command 107 768", "command 1 0"}));
  // The handles died with the dialog.
  EXPECT_FALSE(IsWindow(seen));
  EXPECT_EQ(GetDlgItem(seen, IDC_SIZE), nullptr);
}

TEST(ModalDialog, MessageBoxesAreModalWindowsOfTheirOwn) {
  win32::ClearMessageBoxLog();
  // No user: the default button answers.
  EXPECT_EQ(MessageBoxA(nullptr, "Go on?", "Question", MB_YESNO), IDYES);
  ScriptedUser user{
      [](DialogDriver &d) {
        EXPECT_TRUE(d.IsMessageBox());
        EXPECT_EQ(d.MessageText(), "Line one\n\nLine two");
        EXPECT_TRUE(d.PressEscape());  // no Cancel button and not OK-only: stays open
        EXPECT_TRUE(d.IsOpen());
        d.Answer(IDNO);
      },
      [](DialogDriver &d) { d.PressEscape(); },  // an OK-only box closes with IDOK
      [](DialogDriver &d) {
        EXPECT_TRUE(d.IsPrompt());
        EXPECT_EQ(d.Focus(), win32::kPromptEditId);
        d.Type(win32::kPromptEditId, "/tmp");
        d.PressOk();
      },
      [](DialogDriver &d) { d.PressCancel(); },
  };
  win32::ScopedDialogUser scoped(&user);
  EXPECT_EQ(MessageBoxA(nullptr, "Line one\n\nLine two", "Ask", MB_YESNO | MB_ICONQUESTION), IDNO);
  EXPECT_EQ(MessageBoxA(nullptr, "Done", nullptr, MB_OK), IDOK);
  std::string text = "old";
  EXPECT_TRUE(win32::PromptForText(nullptr, "Where", "Directory:", &text));
  EXPECT_EQ(text, "/tmp");
  EXPECT_FALSE(win32::PromptForText(nullptr, "Where", "Directory:", &text));
  const auto &log = win32::MessageBoxLog();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[1].caption, "Ask");
  EXPECT_EQ(log[1].answer, IDNO);
  EXPECT_EQ(log[2].caption, "Error");
  EXPECT_EQ(user.remaining(), 0u);
}

TEST(ModalDialog, NestedWindowsRunInsideTheStepThatOpenedThem) {
  std::vector<std::string> order;
  ScriptedUser user{
      [&](DialogDriver &d) {
        order.push_back("dialog");
        EXPECT_EQ(MessageBoxA(d.handle(), "Inner", "Nested", MB_OKCANCEL), IDCANCEL);
        order.push_back("back");
        d.PressCancel();
      },
      [&](DialogDriver &d) {
        order.push_back("box");
        d.PressCancel();
      },
  };
  EXPECT_EQ(RunTestDialog(user), 0);
  EXPECT_EQ(order, (std::vector<std::string>{"dialog", "box", "back"}));
}

// A step that never ran checked nothing: the test that wrote it fails
// rather than pass without it.
TEST(ModalDialog, AScriptWithStepsLeftFailsTheTest) {
  ScriptedUser user{[](DialogDriver &d) { d.PressCancel(); }, [](DialogDriver &d) { d.PressOk(); }};
  EXPECT_NONFATAL_FAILURE(RunTestDialog(user), "the dialog closed before the script ended");
}
