// Paths as Windows writes them: backslashes, drive letters and names
// relative to a drive's current directory ("D:wood.rgb"), in the host's
// path calls and in conversions through the plug-in DLL.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "host/kv_toolkit.h"
#include "kavrel/host.h"
#include "tests/windows/dialog_user.h"
#include "tests/windows/plugin_dll.h"
#include "tests/windows/test_host.h"

namespace {

using namespace windows_test;
using Strings = std::vector<std::string>;

TEST(HostPaths, TakeWindowsForms) {
  char path[KV_MAX_PATH] = "C:/models/wood/a.iv";
  Kv_Convert_Pathname(path);
  EXPECT_STREQ(path, "C:\\models\\wood\\a.iv");
  char buffer[KV_MAX_PATH];
  EXPECT_STREQ(Kv_ExtractBaseFileName("E:\\old/wood.rgb", buffer, 0), "wood.rgb");
  EXPECT_STREQ(Kv_ExtractBaseFileName("D:wood.rgb", buffer, 0), "wood.rgb");
  EXPECT_STREQ(Kv_ExtractBaseFilePath("C:a.iv", buffer), "C:");
  EXPECT_STREQ(Kv_ExtractBaseFilePath("C:\\models\\a.iv", buffer), "C:\\models\\");
}

class WindowsPaths : public testing::Test {
 protected:
  // A fresh Host whose level-1 messages (warnings) are kept.
  void StartHost() {
    kavrel::HostSettings settings;
    settings.sinks.report = [](const std::string &) {};
    settings.sinks.progress = [](const std::string &) {};
    settings.sinks.error = [this](int level, const std::string &text) {
      if (level == 1) messages_.push_back(text);
    };
    settings.confirm_overwrite = confirm_overwrite_;
    session_.Restart(std::move(settings));
  }

  std::string Write(const std::string &name, const std::string &text) const {
    const std::string path = support_.path() + name;
    std::ofstream(path) << text;
    return path;
  }

  // Converts path with the run-time tokens (name and value pairs).
  int32_t Convert(const std::string &path, const std::vector<std::pair<const char *, std::string>> &tokens = {}) {
    StartHost();
    messages_.clear();
    Send({"initialize"}, {Value(support_.path())});
    std::vector<const char *> names = {"execute_geometry_converter", "filename"};
    std::vector<intptr_t> values = {0, Value(path)};
    for (const auto &[name, value] : tokens) {
      names.push_back(name);
      values.push_back(Value(value));
    }
    return Send(names, values);
  }

  // What the run told the user about its one missing texture.
  std::string MissingTexture() const {
    const std::string before = "Texture image file '", after = "' type not supported or not found.";
    for (const std::string &message : messages_) {
      if (message.rfind(before, 0) == 0 && message.size() > before.size() + after.size()) {
        return message.substr(before.size(), message.size() - before.size() - after.size());
      }
    }
    return "";
  }

  SupportDirectory support_;
  Strings messages_;
  std::function<bool(const std::string &)> confirm_overwrite_;  // the host's question; none: yes
  TestHost session_;
};

std::string TexturedCube(const std::string &filename) {
  return "#Inventor V2.1 ascii\nSeparator { Texture2 { filename \"" + filename + "\" } Cube {} }\n";
}

// A replacement directory of D:\maps\ turns E:\old\wood.rgb into
// D:\maps\wood.rgb; stripping leaves wood.rgb; with both set the
// replacement wins.
TEST_F(WindowsPaths, ReferencesAreReplacedOrStrippedAcrossDrives) {
  const std::string model = Write("wood.iv", TexturedCube("E:\\old\\wood.rgb"));
  ASSERT_EQ(Convert(model, {{"txtr_ref_dir", "D:\\maps\\"}, {"txtr_ref_dir_specific", "1"}}), 0);
  EXPECT_EQ(MissingTexture(), "D:\\maps\\wood.rgb");
  ASSERT_EQ(Convert(model, {{"txtr_ref_dir_strip", "1"}}), 0);
  EXPECT_EQ(MissingTexture(), "wood.rgb");
  ASSERT_EQ(Convert(model, {{"txtr_ref_dir", "D:\\maps\\"}, {"txtr_ref_dir_specific", "1"}, {"txtr_ref_dir_strip", "1"}}),
            0);
  EXPECT_EQ(MissingTexture(), "D:\\maps\\wood.rgb");
  ASSERT_EQ(Convert(model), 0);
  EXPECT_EQ(MissingTexture(), "E:\\old\\wood.rgb");
}

TEST_F(WindowsPaths, ADriveRelativeReferenceLosesItsDrive) {
  const std::string model = Write("wood.iv", TexturedCube("D:wood.rgb"));
  ASSERT_EQ(Convert(model, {{"txtr_ref_dir_strip", "1"}}), 0);
  EXPECT_EQ(MissingTexture(), "wood.rgb");
  ASSERT_EQ(Convert(model, {{"txtr_ref_dir", "C:\\maps\\"}, {"txtr_ref_dir_specific", "1"}}), 0);
  EXPECT_EQ(MissingTexture(), "C:\\maps\\wood.rgb");
}

// "C:scene.iv" names scene.iv in drive C's current directory, which need
// not be the process's: the images extracted beside it go there too. The
// process works meanwhile in a folder of its own on Wine's drive Z.
TEST_F(WindowsPaths, ImagesOfADriveRelativeInputGoBesideIt) {
  Write("scene.iv", "#Inventor V2.1 ascii\nSeparator { Texture2 { image 1 1 1 0x33 } Cube {} }\n");
  std::string folder = support_.path();
  ASSERT_EQ(folder.compare(0, 2, "C:"), 0) << "the temporary folder is not on drive C: " << folder;
  folder.pop_back();  // no trailing separator, as the shell records it
  const std::string elsewhere = "Z:\\tmp\\kavrel-drive-" + std::to_string(GetCurrentProcessId());
  ASSERT_TRUE(CreateDirectoryA(elsewhere.c_str(), nullptr)) << elsewhere;
  char working[MAX_PATH], drive_c[MAX_PATH] = "";
  GetCurrentDirectoryA(sizeof working, working);
  const bool drive_c_set = GetEnvironmentVariableA("=C:", drive_c, sizeof drive_c) > 0;
  ASSERT_TRUE(SetCurrentDirectoryA(elsewhere.c_str()));
  ASSERT_TRUE(SetEnvironmentVariableA("=C:", folder.c_str()));
  const int32_t status = Convert("C:scene.iv", {{"textures_confirm_overwrite", "0"}});
  SetCurrentDirectoryA(working);
  SetEnvironmentVariableA("=C:", drive_c_set ? drive_c : nullptr);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(messages_, Strings{});
  EXPECT_NE(GetFileAttributesA((support_.path() + "texture.tif").c_str()), INVALID_FILE_ATTRIBUTES);
  const std::string misplaced = elsewhere + "\\texture.tif";
  EXPECT_EQ(GetFileAttributesA(misplaced.c_str()), INVALID_FILE_ATTRIBUTES);
  DeleteFileA(misplaced.c_str());
  RemoveDirectoryA(elsewhere.c_str());
}

// A host that asks before an extracted image replaces a file, with a
// message box owned by its main window, as a Windows host does. The box
// comes up on the thread that called the plug-in, so its owner can be
// disabled while it is up (a box owned by a window of a thread waiting in
// a join would never come up), and the answer decides.
TEST_F(WindowsPaths, TheHostsOverwriteQuestionIsOwnedByItsWindowDuringAConversion) {
  const std::string model = Write("scene.iv", "#Inventor V2.1 ascii\nSeparator { Texture2 { image 1 1 1 0x33 } Cube {} }\n");
  Write("texture.tif", "old");
  HostWindow window;
  const DWORD caller = GetCurrentThreadId();
  DWORD asked_on = 0;
  confirm_overwrite_ = [&](const std::string &path) {
    asked_on = GetCurrentThreadId();
    return MessageBoxA(window.handle(), ("Replace " + path + "?").c_str(), "Replace File", MB_YESNO) == IDYES;
  };
  for (int answer : {IDNO, IDYES}) {
    std::thread user([&] {
      HWND box = WaitForMessageBox(window.handle(), "Replace File");
      if (box == nullptr) {
        ADD_FAILURE() << "no overwrite question owned by the host's window";
        return;
      }
      EXPECT_FALSE(IsWindowEnabled(window.handle()));
      Answer(box, answer);
    });
    const int32_t status = Convert(model);
    user.join();
    EXPECT_EQ(status, 0);
    EXPECT_EQ(asked_on, caller);
    EXPECT_EQ(support_.Read("texture.tif") == "old", answer == IDNO) << (answer == IDNO ? "no" : "yes");
  }
}

}  // namespace
