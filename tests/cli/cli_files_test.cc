// kavrel-convert and the user's files: where extracted images go, what is
// never replaced without consent, what a failed or stopped run leaves, and
// which texture files an input may make it read.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "convert_process.h"

namespace kavrel_test {
namespace {

namespace fs = std::filesystem;

const char kEmbedded[] =
    "#Inventor V2.1 ascii\n\n"
    "Separator { Texture2 { image 2 2 3 0xff0000 0x00ff00 0x0000ff 0xffffff } Cube {} }\n";
// A 2 x 2 uncompressed TGA.
const std::string kTga("\0\0\2\0\0\0\0\0\0\0\0\0\2\0\2\0\x18\0\xff\0\0\0\xff\0\0\0\xff\xff\xff\xff", 30);
const char kMissing[] = "not supported or not found";

bool Contains(const std::string &text, const std::string &part) { return text.find(part) != std::string::npos; }

std::string Textured(const std::string &file) {
  return "#Inventor V2.1 ascii\n\nSeparator { Texture2 { filename \"" + file + "\" } Cube {} }\n";
}

// Temporary folders of the command go into the scratch directory.
class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scratch.Write("tmp/.keep", "");
    saved_tmpdir_ = std::getenv("TMPDIR") != nullptr ? std::getenv("TMPDIR") : "";
    setenv("TMPDIR", (scratch.path() + "/tmp").c_str(), 1);
  }
  void TearDown() override {
    if (saved_tmpdir_.empty()) {
      unsetenv("TMPDIR");
    } else {
      setenv("TMPDIR", saved_tmpdir_.c_str(), 1);
    }
  }

  ScratchDirectory scratch;

 private:
  std::string saved_tmpdir_;
};

TEST_F(FilesTest, EmbeddedImagesGoToAFolderOfTheCommandNeverBesideTheInput) {
  scratch.Write("in/model.iv", kEmbedded);
  scratch.Write("in/texture.tif", "the user's own");
  scratch.Write("out/.keep", "");
  ProcessResult glb = RunConvert(scratch, {"-q", "-o", "out/model.glb", "in/model.iv"});
  ASSERT_EQ(glb.status, 0) << glb.err;
  EXPECT_TRUE(Contains(ReadFile(scratch.path() + "/out/model.glb"), "image/png"));
  EXPECT_EQ(scratch.List("in"), (std::vector<std::string>{"model.iv", "texture.tif"}));
  EXPECT_EQ(ReadFile(scratch.path() + "/in/texture.tif"), "the user's own");
  EXPECT_EQ(scratch.List("out"), std::vector<std::string>{"model.glb"});
  EXPECT_TRUE(scratch.List("tmp").empty());

  // A dump names the image by path: it stays in a folder beside the dump,
  // which a second run replaces without asking.
  for (int run = 0; run < 2; ++run) {
    ProcessResult json = RunConvert(scratch, {"-q", "-o", "out/dump.json", "in/model.iv"});
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(json.err, "");
    EXPECT_EQ(scratch.List("out/dump_textures"), std::vector<std::string>{"texture.tif"});
    EXPECT_TRUE(Contains(ReadFile(scratch.path() + "/out/dump.json"), "/out/dump_textures/texture.tif"));
  }
}

TEST_F(FilesTest, TheUsersTextureFolderIsAskedForAndItsFilesKept) {
  scratch.Write("model.iv", kEmbedded);
  scratch.Write("mine/texture.tif", "the user's own");
  // No separator after the folder: the command adds it.
  ProcessResult kept = RunConvert(scratch, {"-q", "-O", "txtr_save_dir=mine", "-o", "a.json", "model.iv"});
  EXPECT_EQ(kept.status, 0) << kept.err;
  EXPECT_TRUE(Contains(kept.err, "kept the existing 'mine/texture.tif' (--overwrite replaces it)")) << kept.err;
  EXPECT_EQ(ReadFile(scratch.path() + "/mine/texture.tif"), "the user's own");
  EXPECT_FALSE(fs::exists(scratch.path() + "/a_textures"));
  EXPECT_FALSE(fs::exists(scratch.path() + "/minetexture.tif"));

  ProcessResult replaced =
      RunConvert(scratch, {"-q", "--overwrite", "-O", "txtr_save_dir=mine", "-o", "a.json", "model.iv"});
  EXPECT_EQ(replaced.status, 0) << replaced.err;
  EXPECT_EQ(ReadFile(scratch.path() + "/mine/texture.tif").substr(0, 2), "II");

  // A folder in the stored options counts as the user's choice too.
  scratch.Write(".config/kavrel/inventor/vorlix.ini",
                "[Preferences]\ntxtr_save_dir_same = 0\ntxtr_save_dir = " + scratch.path() + "/stored\n");
  scratch.Write("stored/.keep", "");
  ProcessResult stored = RunConvert(scratch, {"-q", "-o", "b.json", "model.iv"});
  EXPECT_EQ(stored.status, 0) << stored.err;
  EXPECT_EQ(scratch.List("stored"), std::vector<std::string>{"texture.tif"});
}

TEST_F(FilesTest, OutputsNeverReplaceAnInputOrAReadOnlyFile) {
  const std::string input = scratch.Write("model.iv", kEmbedded);
  fs::create_symlink(input, scratch.path() + "/link.gltf");
  fs::create_hard_link(input, scratch.path() + "/hard.glb");
  for (const std::vector<std::string> &args : {std::vector<std::string>{"-o", "link.gltf", "model.iv"},
                                                std::vector<std::string>{"hard.glb"},
                                                std::vector<std::string>{"--overwrite", "-o", "hard.glb", "model.iv"}}) {
    ProcessResult same = RunConvert(scratch, args);
    EXPECT_EQ(same.status, 1) << same.err;
    EXPECT_TRUE(Contains(same.err, "is the input file")) << same.err;
  }
  EXPECT_EQ(ReadFile(input), kEmbedded);

  const std::string locked = scratch.Write("locked.glb", "keep me");
  chmod(locked.c_str(), 0444);
  ProcessResult refused = RunConvert(scratch, {"-q", "-o", "locked.glb", "model.iv"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_TRUE(Contains(refused.err, "read-only; --overwrite replaces it")) << refused.err;
  EXPECT_EQ(ReadFile(locked), "keep me");
  ProcessResult forced = RunConvert(scratch, {"-q", "--overwrite", "-o", "locked.glb", "model.iv"});
  EXPECT_EQ(forced.status, 0) << forced.err;
  EXPECT_EQ(ReadFile(locked).substr(0, 4), "glTF");
}

// A textured shape first, then thousands more, so the image is on disk
// long before the run ends.
std::string TexturedThenMany(int count) {
  std::string text = "#Inventor V2.1 ascii\n\nSeparator {\n";
  text += "Separator { Texture2 { image 2 2 3 0xff0000 0x00ff00 0x0000ff 0xffffff } Cube {} }\n";
  for (int i = 0; i < count; ++i) {
    text += "Separator { Translation { translation " + std::to_string(i % 100) + " " + std::to_string(i / 100) +
            " 0 } Sphere {} }\n";
  }
  return text + "}\n";
}

// Stops a run with sig once its image is extracted; the run's status.
int StopAfterExtraction(const ScratchDirectory &scratch, int sig) {
  ChildProcess child({KAVREL_CONVERT_PATH, "-O", "txtr_save_dir=" + scratch.path() + "/maps/", "-o",
                      scratch.path() + "/many.json", scratch.path() + "/many.iv"},
                     scratch.path(), scratch.path());
  const std::string image = scratch.path() + "/maps/texture.tif";
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!fs::exists(image) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_TRUE(fs::exists(image));
  kill(child.pid(), sig);
  ProcessResult result = child.Wait(60);
  EXPECT_TRUE(Contains(result.err, "interrupted") || sig != SIGINT) << result.err;
  return result.status;
}

TEST_F(FilesTest, AStoppedRunLeavesNoImageAndNoTemporaryFile) {
  scratch.Write("many.iv", TexturedThenMany(6000));
  scratch.Write("maps/.keep", "");
  EXPECT_EQ(StopAfterExtraction(scratch, SIGINT), 1);
  EXPECT_TRUE(scratch.List("maps").empty());
  EXPECT_EQ(StopAfterExtraction(scratch, SIGTERM), 128 + SIGTERM);
  EXPECT_TRUE(scratch.List("maps").empty());
  EXPECT_EQ(scratch.List(), (std::vector<std::string>{"many.iv", "maps", "tmp"}));
}

TEST_F(FilesTest, TextureReadsStayInsideTheRootsAndOpenOnlyRegularFiles) {
  scratch.Write("secret/wood.tga", kTga);
  scratch.Write("models/maps/wood.tga", kTga);
  scratch.Write("models/climbs.iv", Textured("../secret/wood.tga"));
  scratch.Write("models/inside.iv", Textured("maps/wood.tga"));
  ProcessResult open = RunConvert(scratch, {"-q", "-o", "open.gltf", "models/climbs.iv"});
  ASSERT_EQ(open.status, 0) << open.err;
  EXPECT_TRUE(Contains(ReadFile(scratch.path() + "/open.gltf"), "baseColorTexture"));

  ProcessResult confined = RunConvert(scratch, {"-q", "--texture-root", "models", "-o", "c.gltf", "models/climbs.iv"});
  ASSERT_EQ(confined.status, 0) << confined.err;
  EXPECT_TRUE(Contains(confined.err, kMissing)) << confined.err;
  EXPECT_FALSE(Contains(ReadFile(scratch.path() + "/c.gltf"), "baseColorTexture"));
  ProcessResult inside = RunConvert(scratch, {"-q", "--texture-root", "models", "-o", "i.gltf", "models/inside.iv"});
  ASSERT_EQ(inside.status, 0) << inside.err;
  EXPECT_TRUE(Contains(ReadFile(scratch.path() + "/i.gltf"), "baseColorTexture"));
  // Embedded images are extracted outside the roots and still read back.
  scratch.Write("models/embedded.iv", kEmbedded);
  ProcessResult own = RunConvert(scratch, {"-q", "--texture-root", "models", "-o", "e.glb", "models/embedded.iv"});
  ASSERT_EQ(own.status, 0) << own.err;
  EXPECT_TRUE(Contains(ReadFile(scratch.path() + "/e.glb"), "image/png"));
  EXPECT_EQ(RunConvert(scratch, {"--texture-root", "nowhere", "models/inside.iv"}).status, 2);

  // The reference is redirected into a folder (given without separator)
  // where that name is a FIFO: reported as missing, never opened.
  scratch.Write("fifo/.keep", "");
  ASSERT_EQ(mkfifo((scratch.path() + "/fifo/wood.tga").c_str(), 0644), 0);
  ProcessResult fifo = RunConvert(scratch, {"-q", "-O", "txtr_ref_dir_specific=1", "-O", "txtr_ref_dir=fifo", "-o",
                                            "f.gltf", "models/inside.iv"});
  EXPECT_EQ(fifo.status, 0) << fifo.err;
  EXPECT_TRUE(Contains(fifo.err, "'fifo/wood.tga' type not supported or not found")) << fifo.err;
}

// Enter presses OK in the options dialog; the preferences then cannot be
// stored where a directory holds their name, and the command says so.
// kavrel-convert --options in a terminal (tmux), OK pressed with Enter
// once the dialog is drawn; its exit status, its standard error in *err.
int OptionsInTerminal(const ScratchDirectory &scratch, const std::string &support, std::string *err) {
  const std::string tmux = "tmux -L kavrel-files-" + std::to_string(getpid()) + " ";
  const std::string status = scratch.path() + "/status";
  std::remove(status.c_str());
  const std::string command = "cd '" + scratch.path() + "' && " + KAVREL_CONVERT_PATH + " --support-dir " + support +
                              " --options 2>err; echo \\$? >status";
  EXPECT_EQ(std::system((tmux + "-f /dev/null new-session -d -s files -x 150 -y 50 \"" + command + "\"").c_str()), 0);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  auto screen = [&] {
    std::string text;
    FILE *pane = popen((tmux + "capture-pane -p -t files 2>/dev/null").c_str(), "r");
    for (int c; pane != nullptr && (c = std::fgetc(pane)) != EOF;) text += static_cast<char>(c);
    if (pane != nullptr) pclose(pane);
    return text;
  };
  while (!Contains(screen(), "Tab/arrows move") && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_EQ(std::system((tmux + "send-keys -t files Enter").c_str()), 0);
  while (ReadFile(status).empty() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  std::system((tmux + "kill-server 2>/dev/null").c_str());
  *err = ReadFile(scratch.path() + "/err");
  return ReadFile(status).empty() ? -1 : std::atoi(ReadFile(status).c_str());
}

TEST_F(FilesTest, OptionsThatCannotBeStoredFailTheCommand) {
  if (std::system("tmux -V > /dev/null 2>&1") != 0) GTEST_SKIP() << "tmux is not installed";
  scratch.Write("good/.keep", "");
  scratch.Write("bad/vorlix.ini/.keep", "");
  std::string err;
  EXPECT_EQ(OptionsInTerminal(scratch, "good", &err), 0) << err;
  EXPECT_EQ(scratch.List("good"), std::vector<std::string>{"vorlix.ini"});
  EXPECT_EQ(OptionsInTerminal(scratch, "bad", &err), 1) << err;
  EXPECT_TRUE(Contains(err, "the options could not be stored")) << err;
}

}  // namespace
}  // namespace kavrel_test
