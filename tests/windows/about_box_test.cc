// The about box on the real dialog manager, owned by a window of the
// host's thread: only OK closes it, and Help can be asked again and again.
#include <gtest/gtest.h>

#include "tests/windows/described_ids.h"
#include "tests/windows/dialog_user.h"
#include "tests/windows/plugin_dll.h"
#include "tests/windows/test_host.h"

namespace {

using namespace windows_test;

TEST(AboutBox, OnlyOkClosesItAndHelpCanBeAskedTwice) {
  TestHost session;
  HostWindow host;
  SupportDirectory support;
  Send({"initialize"}, {Value(support.path())});
  HWND owner = host.handle();
  int32_t result = RunDialog("show_about_dialog", "About the Inventor Geometry Import Plug-In", [owner](HWND box) {
    EXPECT_EQ(GetWindow(box, GW_OWNER), owner);
    // Escape and the title bar's close button both arrive as IDCANCEL.
    PressEscape(box);
    PressCloseBox(box);
    for (int i = 0; i < 2; ++i) {
      Press(box, described::kHelp);
      HWND help = WaitForMessageBox(box, "Help");
      ASSERT_NE(help, nullptr);
      Acknowledge(help);
      ASSERT_TRUE(WaitUntilClosed(help));
    }
    EXPECT_TRUE(IsWindowVisible(box));
    Press(box, described::kOk);
  });
  // The entry point leaves the result of "show_about_dialog" as it was.
  EXPECT_EQ(result, 0);
  EXPECT_EQ(session->journal().calls("Import_IO_DisplayHelpTopic").size(), 2u);
}

}  // namespace
