#include <gtest/gtest.h>

#include "win32/resource_script.h"

using namespace win32;

namespace {

ResourceScript Parse(const std::string &text) {
  ResourceScript script;
  std::string error;
  EXPECT_TRUE(ParseResourceScript(text, &script, &error)) << error;
  return script;
}

std::string ErrorOf(const std::string &text) {
  ResourceScript script;
  std::string error;
  EXPECT_FALSE(ParseResourceScript(text, &script, &error));
  return error;
}

}  // namespace

TEST(ResourceScript, ReadsStatementsAsAResourceCompilerDoes) {
  ResourceScript script = Parse(R"rc(
#include "resource.h"
#define IDC_BASE 100
#define IDC_NAME (IDC_BASE + 1)   // a comment
IDI_ICON ICON "app.ico"
STRINGTABLE
BEGIN
    1 "ignored"
END
Options DIALOG DISCARDABLE 0, 0, 120, 60
STYLE DS_MODALFRAME | WS_POPUP
CAPTION "Say ""hi"""
FONT 8, "Helv"
BEGIN
    /* a frame */ CONTROL "",IDC_STATIC,"Static",SS_SUNKEN,0,0,120,40
    CONTROL "Pick",IDC_NAME,"Button",BS_AUTORADIOBUTTON,
            4,4,40,10
    CHECKBOX "A && B",102,4,16,40,10,NOT WS_TABSTOP | WS_DISABLED
    EDITTEXT 103,4,28,40,12,ES_READONLY | NOT WS_VISIBLE
    CTEXT "Centred",-1,50,4,60,8
    DEFPUSHBUTTON "&OK",IDOK,4,44,40,14
END
)rc");
  const DialogTemplate *d = FindDialogTemplate(script, "OPTIONS");
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->caption, "Say \"hi\"");
  EXPECT_EQ(d->font_name, "Helv");
  EXPECT_EQ(d->width, 120);
  ASSERT_EQ(d->controls.size(), 6u);
  EXPECT_EQ(d->controls[0].kind, ControlKind::kGroupBox);
  const ControlTemplate &radio = d->controls[1];
  EXPECT_EQ(radio.kind, ControlKind::kRadioButton);
  EXPECT_TRUE(radio.automatic);
  EXPECT_EQ(radio.id, 101);
  EXPECT_EQ(radio.height, 10);
  const ControlTemplate &check = d->controls[2];
  EXPECT_EQ(check.kind, ControlKind::kCheckBox);
  EXPECT_FALSE(check.automatic);
  EXPECT_FALSE(check.tab_stop);
  EXPECT_TRUE(check.disabled);
  EXPECT_TRUE(d->controls[3].read_only && d->controls[3].hidden);
  EXPECT_EQ(d->controls[4].align, TextAlign::kCenter);
  EXPECT_EQ(d->controls[4].id, -1);
  EXPECT_TRUE(d->controls[5].default_button);
  EXPECT_EQ(d->controls[5].id, 1);
  EXPECT_EQ(script.symbols.at("IDC_NAME"), 101);
}

TEST(ResourceScript, ReportsWhatAndWhereItCannotRead) {
  EXPECT_EQ(ErrorOf("D DIALOG 0,0,10,10\nBEGIN\n  PUSHBUTTON \"x\",IDC_MISSING,0,0,5,5\nEND\n"),
            "line 3: unknown symbol IDC_MISSING");
  EXPECT_EQ(ErrorOf("D DIALOG 0,0,10,10\nBEGIN\n  LTEXT \"open,1,0,0,5,5\nEND\n"), "line 3: unterminated string");
  EXPECT_EQ(ErrorOf("D DIALOG 0,0,10,10\nBEGIN\n  LISTBOX 1,0,0,5,5\nEND\n"), "line 3: unsupported statement LISTBOX");
  EXPECT_EQ(ErrorOf("D DIALOG 0,0,10,10\nBEGIN\n  PUSHBUTTON \"x\",1,0,0\n"), "line 3: PUSHBUTTON needs more arguments");
  EXPECT_EQ(ErrorOf("D DIALOG 0,0,10,10\nBEGIN\n"), "line 1: dialog D has no END");
}

TEST(ResourceScript, ShowsTextWithoutMnemonicMarks) {
  int at = 0;
  EXPECT_EQ(DisplayText("B&rowse", &at), "Browse");
  EXPECT_EQ(at, 1);
  EXPECT_EQ(DisplayText("Welding && Merging", &at), "Welding & Merging");
  EXPECT_EQ(at, -1);
}
