// The terminal front end driven through tmux: keys go in as a user types
// them, the screen is read back as the terminal shows it.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

std::string Shell(const std::string &command) {
  std::string output;
  if (FILE *pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    pclose(pipe);
  }
  return output;
}

std::string ReadFile(const std::string &path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class TerminalDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    if (system("tmux -V > /dev/null 2>&1") != 0) GTEST_SKIP() << "tmux is not installed";
    char pattern[] = "/tmp/kavrel-terminal-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    directory_ = pattern;
    tmux_ = "tmux -L kavrel-test-" + std::to_string(getpid()) + " ";
  }

  void TearDown() override {
    if (tmux_.empty()) return;
    Shell(tmux_ + "kill-server 2>/dev/null");
    std::filesystem::remove_all(directory_);
  }

  void Start(const std::string &arguments) {
    Shell(tmux_ + "-f /dev/null new-session -d -s dialog -x 150 -y 50 '" + DRIVER_PATH + " " + directory_ + " " +
        arguments + "; sleep 30'");
  }

  void Keys(const std::string &keys) { Shell(tmux_ + "send-keys -t dialog " + keys); }

  std::string Screen(bool with_styles = false) {
    return Shell(tmux_ + "capture-pane -p " + (with_styles ? "-e " : "") + "-t dialog");
  }

  // Polls the screen until it shows (or no longer shows) the text.
  bool WaitFor(const std::string &text, bool shown = true) {
    for (int i = 0; i < 200; ++i) {
      if ((Screen().find(text) != std::string::npos) == shown) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }

  std::string WaitForResult() {
    for (int i = 0; i < 200; ++i) {
      std::string result = ReadFile(directory_ + "/result.txt");
      if (!result.empty()) return result;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return "";
  }

  std::string directory_;
  std::string tmux_;
};

}  // namespace

TEST_F(TerminalDialog, EditsTheOptionsWithTheKeyboardAndWritesThePreferences) {
  Start("");
  ASSERT_TRUE(WaitFor("Inventor2.x and VRML1 Geometry Import Plug-In")) << Screen();
  std::string screen = Screen();
  for (const char *shown : {"+- Texture Map Extraction", "[x] Lights", "(*) Same location as imported Inventor file",
                            "[Choose first", "[ OK ]", "Polygon Welding & Merging"}) {
    EXPECT_NE(screen.find(shown), std::string::npos) << shown << "\n" << screen;
  }
  // The LOD level is greyed while "Choose first" is selected.
  EXPECT_NE(Screen(true).find("\x1b[2mLevel:"), std::string::npos) << Screen(true);

  Keys("Tab 2 0 0 Enter");  // an angle out of range: the dialog's own message box
  ASSERT_TRUE(WaitFor("The smoothing angle must be between 0 and 180 degrees.")) << Screen();
  Keys("Enter");
  ASSERT_TRUE(WaitFor("between 0 and 180", false)) << Screen();
  Keys("6 0");
  for (int i = 0; i < 13; ++i) Keys("BTab");
  Keys("Space");
  ASSERT_TRUE(WaitFor("[ ] Lights")) << Screen();
  Keys("Enter");
  EXPECT_EQ(WaitForResult(), "result 1\n");
  std::string preferences = ReadFile(directory_ + "/vorlix.ini");
  EXPECT_NE(preferences.find("\nimport_lights = 0\n"), std::string::npos) << preferences;
  EXPECT_NE(preferences.find("\nsmoothing_angle = 60\n"), std::string::npos) << preferences;
}

TEST_F(TerminalDialog, AboutBoxIgnoresEscapeAndClosesOnOk) {
  Start("--about");
  ASSERT_TRUE(WaitFor("About the Inventor Geometry Import Plug-In")) << Screen();
  EXPECT_NE(Screen().find("Inventor Geometry Import Filter"), std::string::npos);
  Keys("Escape");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_NE(Screen().find("About the Inventor Geometry Import Plug-In"), std::string::npos) << Screen();
  Keys("Enter");
  EXPECT_EQ(WaitForResult(), "result 0\n");
}
