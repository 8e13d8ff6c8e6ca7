#include <gtest/gtest.h>

#include "tests/win32/test_dialog.h"
#include "win32/dialog_keyboard.h"
#include "win32/dialog_text_layout.h"

using win32::DialogDriver;
using win32::Key;
using win32::KeyCode;
using win32::ScriptedUser;

namespace {

void Press(DialogDriver &d, KeyCode code, int times = 1) {
  for (int i = 0; i < times; ++i) win32::PressKey(d, Key{code});
}

void Type(DialogDriver &d, const std::string &text) {
  for (char c : text) win32::PressKey(d, Key{KeyCode::kChar, c});
}

std::string Screen(const win32::TextCanvas &canvas) {
  std::string all;
  for (int row = 0; row < canvas.height; ++row) all += canvas.Line(row) + "\n";
  return all;
}

}  // namespace

TEST(DialogKeyboard, MovesPressesTypesAndChooses) {
  ScriptedUser user{[](DialogDriver &d) {
    Press(d, KeyCode::kTab);  // Lights -> Cameras
    Type(d, " ");
    EXPECT_TRUE(d.Checked(IDC_CAMERAS));
    Press(d, KeyCode::kBackTab, 2);  // wraps past Lights to Cancel
    EXPECT_EQ(d.Focus(), IDCANCEL);
    Press(d, KeyCode::kDown, 7);  // wraps to the field; the greyed path is skipped
    EXPECT_EQ(d.Focus(), IDC_SIZE);
    Type(d, "42");  // replaces the selected text
    Press(d, KeyCode::kLeft);
    Press(d, KeyCode::kBackspace);
    Type(d, "7");
    EXPECT_EQ(d.Text(IDC_SIZE), "72");
    Press(d, KeyCode::kTab);  // the list: Left and Right choose at once
    Press(d, KeyCode::kRight);
    EXPECT_EQ(d.SelectedItem(IDC_MODE), "Both");
    Press(d, KeyCode::kEnter);  // opens the list
    Press(d, KeyCode::kUp, 2);
    Press(d, KeyCode::kEnter);
    EXPECT_EQ(d.SelectedItem(IDC_MODE), "Fast");
    Type(d, "l");  // mnemonic of "&Lights"
    EXPECT_TRUE(d.Checked(IDC_LIGHTS));
    Type(d, "z");  // a label's mnemonic moves to the field after it
    EXPECT_EQ(d.Focus(), IDC_SIZE);
    Press(d, KeyCode::kEscape);
  }};
  EXPECT_EQ(RunTestDialog(user), 0);
  EXPECT_EQ(ProcedureLog().back(), "command 2 0");
}

TEST(DialogKeyboard, EnterPressesTheDefaultButton) {
  ScriptedUser user{[](DialogDriver &d) {
    Press(d, KeyCode::kTab, 3);
    Press(d, KeyCode::kEnter);
  }};
  EXPECT_EQ(RunTestDialog(user), 1);
}

TEST(DialogTextLayout, DrawsGroupsRowsMarksAndGreyedControls) {
  ScriptedUser user{[](DialogDriver &d) {
    d.Click(IDC_LIGHTS);
    d.Type(IDC_SIZE, "3");
    win32::TextCanvas canvas = win32::RenderWindow(d.handle());
    std::string screen = Screen(canvas);
    EXPECT_NE(screen.find("+- Test Dialog -"), std::string::npos) << screen;
    EXPECT_NE(screen.find("+- Settings & more -"), std::string::npos) << screen;
    EXPECT_NE(screen.find("[x] Lights [ ] Cameras"), std::string::npos) << screen;
    EXPECT_NE(screen.find("Size: [3         ] [Exact        v]"), std::string::npos) << screen;
    EXPECT_NE(screen.find("[ OK ] [ Cancel ]"), std::string::npos) << screen;
    int path_row = -1;
    for (int row = 0; row < canvas.height; ++row) {
      if (canvas.Line(row).find("[                         ]") != std::string::npos) path_row = row;
    }
    ASSERT_GE(path_row, 0) << screen;
    EXPECT_EQ(canvas.cursor_row, canvas.focus_row);  // the caret sits in the focused field
    d.PressOk();
  }};
  RunTestDialog(user);
}

TEST(DialogTextLayout, WrapsBetweenWordsAndKeepsLineBreaks) {
  EXPECT_EQ(win32::WrapText("one two three\n\nfour", 7),
            (std::vector<std::string>{"one two", "three", "", "four"}));
  EXPECT_EQ(win32::WrapText("abcdefghij", 4), (std::vector<std::string>{"abcd", "efgh", "ij"}));
}
