// The options dialog from the compiled template on the real dialog
// manager, worked through window messages as a user would.
#include <gtest/gtest.h>

#include <string>

#include "options/resource.h"
#include "tests/windows/dialog_user.h"
#include "tests/windows/plugin_dll.h"

namespace {

using namespace windows_test;

const char kTitle[] = "Inventor2.x and VRML1 Geometry Import Plug-In";

class OptionsDialog : public testing::Test {
 protected:
  void SetUp() override { Send({"initialize"}, {Value(support_.path())}); }
  std::string Preferences() const { return support_.Read("vorlix.ini"); }

  SupportDirectory support_;
};

bool Holds(const std::string &preferences, const std::string &line) {
  return preferences.find(line + "\r\n") != std::string::npos || preferences.find(line + "\n") != std::string::npos;
}

TEST_F(OptionsDialog, OkStoresWhatWasChangedInThePreferencesFile) {
  int32_t result = RunDialog("show_options_dialog", kTitle, [](HWND dialog) {
    EXPECT_TRUE(Checked(dialog, IDC_IMPORT_LIGHTS));
    Click(dialog, IDC_IMPORT_LIGHTS);
    EXPECT_FALSE(Checked(dialog, IDC_IMPORT_LIGHTS));
    Click(dialog, IDC_FLIP_Y_UP);
    Type(dialog, IDC_WELD_VERTICES_THRESHOLD, "0.25");
    Choose(dialog, IDC_LOD_SOURCE, 2);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_LOD_LEVEL)));
    Type(dialog, IDC_LOD_LEVEL, "3");
    Press(dialog, IDOK);
  });
  EXPECT_EQ(result, 1);
  std::string preferences = Preferences();
  EXPECT_TRUE(Holds(preferences, "import_lights = 0")) << preferences;
  EXPECT_TRUE(Holds(preferences, "flip_y_up = 1")) << preferences;
  EXPECT_TRUE(Holds(preferences, "WeldVerticesThreshold = 0.25")) << preferences;
  EXPECT_TRUE(Holds(preferences, "lod_source = 2")) << preferences;
  EXPECT_TRUE(Holds(preferences, "nthlod = 3")) << preferences;
}

TEST_F(OptionsDialog, CancelLeavesThePreferencesFileAsItWas) {
  EXPECT_EQ(RunDialog("show_options_dialog", kTitle, [](HWND dialog) { Press(dialog, IDOK); }), 1);
  const std::string stored = Preferences();
  ASSERT_FALSE(stored.empty());
  int32_t result = RunDialog("show_options_dialog", kTitle, [](HWND dialog) {
    Click(dialog, IDC_IMPORT_CAMERAS);
    Type(dialog, IDC_WELD_NORMALS_THRESHOLD, "0.5");
    Press(dialog, IDCANCEL);
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(Preferences(), stored);
}

// A threshold of 0 is refused with its message box; the dialog stays open
// and takes a corrected value.
TEST_F(OptionsDialog, InvalidThresholdShowsItsMessageAndKeepsTheDialogOpen) {
  int32_t result = RunDialog("show_options_dialog", kTitle, [this](HWND dialog) {
    Type(dialog, IDC_WELD_VERTICES_THRESHOLD, "0");
    Press(dialog, IDOK);
    HWND box = WaitForMessageBox(dialog, "Error");
    ASSERT_NE(box, nullptr) << "no message box";
    EXPECT_EQ(MessageText(box), "The vertex welding threshold must be greater than 0.");
    Acknowledge(box);
    ASSERT_TRUE(WaitUntilClosed(box));
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_TRUE(Preferences().empty());
    Type(dialog, IDC_WELD_VERTICES_THRESHOLD, "0.001");
    Press(dialog, IDOK);
  });
  EXPECT_EQ(result, 1);
  EXPECT_TRUE(Holds(Preferences(), "WeldVerticesThreshold = 0.001")) << Preferences();
}

}  // namespace
