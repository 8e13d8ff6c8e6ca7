// The about box on the real dialog manager closes with OK only.
#include <gtest/gtest.h>

#include "options/resource.h"
#include "tests/windows/dialog_user.h"
#include "tests/windows/plugin_dll.h"

namespace {

using namespace windows_test;

TEST(AboutBox, OnlyOkClosesIt) {
  int32_t result = RunDialog("show_about_dialog", "About the Inventor Geometry Import Plug-In", [](HWND box) {
    // Escape and the title bar's close button both arrive as IDCANCEL.
    SendMessageA(box, WM_COMMAND, IDCANCEL, 0);
    SendMessageA(box, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindowVisible(box));
    Press(box, IDOK);
  });
  EXPECT_EQ(result, 0);
}

}  // namespace
