#include "kavrel/host.h"
#include "options/resource.h"
#include "tests/options/options_fixture.h"

using win32::DialogDriver;
using win32::ScriptedUser;

using AboutBox = OptionsTest;

namespace {

void Close(DialogDriver &d) { d.Answer(IDOK); }

}  // namespace

TEST_F(AboutBox, OnlyOkClosesItAndHelpCanBeAskedTwice) {
  ScriptedUser user{[](DialogDriver &d) {
                      EXPECT_EQ(d.Caption(), "About the Inventor Geometry Import Plug-In");
                      d.PressEscape();
                      d.Click(IDC_HELP_BUTTON);
                      d.Click(IDC_HELP_BUTTON);
                      EXPECT_TRUE(d.IsOpen());
                      d.PressOk();
                      EXPECT_FALSE(d.IsOpen());
                    },
                    Close, Close};
  EXPECT_EQ(ShowAbout(user), 0);
  EXPECT_EQ(user.remaining(), 0u);
  auto help = host_.journal().calls("Import_IO_DisplayHelpTopic");
  ASSERT_EQ(help.size(), 2u);
  EXPECT_EQ(help[0]->items[1].text, directory_ + "vorlix.hlp");
  EXPECT_EQ(help[0]->items[2].text, "main");
  EXPECT_EQ(Messages()[0].first, "Help");
}

TEST_F(AboutBox, OptionsDialogOpensItAndTheOtherBoxes) {
  ScriptedUser user{[](DialogDriver &d) {
                      d.Click(IDC_OPTIMIZE_OBJECTS_OPTIONS);
                      d.Click(IDC_ABOUT_BUTTON);
                      d.PressCancel();
                    },
                    Close,
                    [](DialogDriver &d) {
                      EXPECT_EQ(d.TemplateName(), "AboutBox");
                      d.PressOk();
                    }};
  EXPECT_EQ(ShowOptions(user), 0);
  EXPECT_EQ(Messages()[0].first, "Object Compression Options");
  auto boxes = host_.journal().calls("Import_IO_ShowMoveChildrenOfYellowFolderOptionsDialogBox");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0]->items[0].ints, std::vector<int64_t>{1});
}
