// The dialog templates the library carries must hold every control the
// dialog procedures set, read or answer to, as the kind of control the code
// expects: a missing or mistyped control fails silently in a real dialog.
#include <gtest/gtest.h>

#include "options/option_table.h"
#include "options/module_resources.h"
#include "win32/resource_script.h"

namespace {

const win32::ControlTemplate *FindControl(const win32::DialogTemplate &d, int id) {
  for (const auto &c : d.controls) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

class DialogTemplates : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(win32::ParseResourceScript(inventor_import_resources.resource_script, &script_, &error)) << error;
    options_ = win32::FindDialogTemplate(script_, "OptionsDialog");
    about_ = win32::FindDialogTemplate(script_, "AboutBox");
    ASSERT_NE(options_, nullptr);
    ASSERT_NE(about_, nullptr);
  }

  // The kind of control each kind of option needs, and whether it marks
  // itself (an automatic check box) or is read-only (a directory shown).
  void ExpectControl(int id, win32::ControlKind kind, bool automatic, bool read_only) {
    const win32::ControlTemplate *c = FindControl(*options_, id);
    ASSERT_NE(c, nullptr) << "control " << id;
    EXPECT_EQ(c->kind, kind) << "control " << id;
    EXPECT_EQ(c->automatic, automatic) << "control " << id;
    EXPECT_EQ(c->read_only, read_only) << "control " << id;
  }

  win32::ResourceScript script_;
  const win32::DialogTemplate *options_ = nullptr;
  const win32::DialogTemplate *about_ = nullptr;
};

}  // namespace

TEST_F(DialogTemplates, EveryOptionControlIsInTheOptionsDialogAsItsKind) {
  for (const OptionRow &row : option_table) {
    const OptionControl &c = row.control;
    SCOPED_TRACE(row.key);
    switch (c.kind) {
      case OptionControlKind::kNone: break;
      case OptionControlKind::kCheckBox: ExpectControl(c.id, win32::ControlKind::kCheckBox, false, false); break;
      case OptionControlKind::kAutoCheckBox: ExpectControl(c.id, win32::ControlKind::kCheckBox, true, false); break;
      case OptionControlKind::kRadioPair:
        ExpectControl(c.id, win32::ControlKind::kRadioButton, false, false);
        ExpectControl(c.second_id, win32::ControlKind::kRadioButton, false, false);
        break;
      case OptionControlKind::kList:
      case OptionControlKind::kReversedList: ExpectControl(c.id, win32::ControlKind::kComboBox, false, false); break;
      case OptionControlKind::kDirectoryText: ExpectControl(c.id, win32::ControlKind::kEdit, false, true); break;
      case OptionControlKind::kNumberEdit:
      case OptionControlKind::kIntegerEdit: ExpectControl(c.id, win32::ControlKind::kEdit, false, false); break;
    }
  }
}

TEST_F(DialogTemplates, EveryIdTheCodeNamesIsAControlAndOkIsTheDefault) {
  for (const auto &[name, id] : script_.symbols) {
    if (name.rfind("IDC_", 0) != 0 || name == "IDC_STATIC") continue;
    EXPECT_TRUE(FindControl(*options_, id) || FindControl(*about_, id)) << name;
  }
  for (const win32::DialogTemplate *d : {options_, about_}) {
    ASSERT_NE(FindControl(*d, IDOK), nullptr) << d->name;
    EXPECT_TRUE(FindControl(*d, IDOK)->default_button) << d->name;
  }
  EXPECT_NE(FindControl(*options_, IDCANCEL), nullptr);
}
