// Which texture files the host opens, and the run's own files: what a
// failed run deletes and what a successful one keeps.
#include <stb_image_write.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "kavrel/image/image_file.h"
#include "kavrel/image/run_files.h"
#include "tests/toolkit/toolkit_fixture.h"

namespace {

namespace fs = std::filesystem;

const uint8_t kRgb[2 * 2 * 3] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9};

int32_t TypeOf(const std::string &path) {
  int32_t type = -1;
  return Kv_Determine_Image_File_Type(path.c_str(), &type) == 0 ? type : -1;
}

class TextureAccessTest : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    // A test that blocks on a FIFO ends here instead of at the suite's timeout.
    alarm(20);
  }
  void TearDown() override {
    alarm(0);
    kavrel::KeepRunFiles();
  }
};

TEST_F(TextureAccessTest, OnlyRegularFilesAreOpened) {
  ScratchDir dir;
  const std::string png = dir.path("ok.png"), fifo = dir.path("pipe.png");
  ASSERT_TRUE(stbi_write_png(png.c_str(), 2, 2, 3, kRgb, 2 * 3));
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  EXPECT_EQ(TypeOf(png), kavrel::kImagePng);
  for (const std::string &path : {fifo, dir.path(""), std::string("/dev/zero"), std::string("/dev/tty")}) {
    EXPECT_EQ(TypeOf(path), -1) << path;
    kavrel::ImagePixels pixels;
    std::string error;
    EXPECT_FALSE(host_.texture_files().Read(path, &pixels, &error)) << path;
    EXPECT_FALSE(host_.texture_files().ReadHeader(path, &pixels, &error)) << path;
  }
}

TEST_F(TextureAccessTest, TextureRootsConfineReadsAfterResolvingLinks) {
  ScratchDir dir;
  fs::create_directories(dir.path("root/maps"));
  const std::string inside = dir.path("root/maps/in.png"), outside = dir.path("secret.png");
  ASSERT_TRUE(stbi_write_png(inside.c_str(), 2, 2, 3, kRgb, 2 * 3));
  ASSERT_TRUE(stbi_write_png(outside.c_str(), 2, 2, 3, kRgb, 2 * 3));
  fs::create_symlink(outside, dir.path("root/link.png"));
  fs::create_directory_symlink(dir.path(""), dir.path("root/up"));

  std::string error;
  kavrel::TextureRoots &roots = host_.settings().texture_roots;
  EXPECT_FALSE(roots.Set({dir.path("missing")}, &error));
  EXPECT_NE(error.find("missing"), std::string::npos) << error;
  ASSERT_TRUE(roots.Set({dir.path("root/")}, &error)) << error;
  EXPECT_EQ(TypeOf(inside), kavrel::kImagePng);
  EXPECT_EQ(TypeOf(dir.path("root/maps/../maps/in.png")), kavrel::kImagePng);
  for (const char *refused : {"secret.png", "root/link.png", "root/up/secret.png", "root/../secret.png"}) {
    EXPECT_EQ(TypeOf(dir.path(refused)), -1) << refused;
    kavrel::ImagePixels pixels;
    EXPECT_FALSE(host_.texture_files().Read(dir.path(refused), &pixels, &error)) << refused;
    EXPECT_NE(error.find("outside the texture roots"), std::string::npos) << error;
  }
  // A root named with a trailing part of another's name does not admit it.
  fs::create_directories(dir.path("rootless"));
  fs::copy_file(inside, dir.path("rootless/x.png"));
  EXPECT_EQ(TypeOf(dir.path("rootless/x.png")), -1);

  // A file the run made itself stays readable.
  const std::string temporary = dir.path("made.png.tmp");
  fs::copy_file(inside, temporary);
  kavrel::NoteTemporaryFile(temporary);
  ASSERT_TRUE(kavrel::MoveTemporaryIntoPlace(temporary, dir.path("made.png"), true));
  EXPECT_EQ(TypeOf(dir.path("made.png")), kavrel::kImagePng);

  ASSERT_TRUE(roots.Set({}, &error));
  EXPECT_EQ(TypeOf(outside), kavrel::kImagePng);
}

TEST_F(TextureAccessTest, AFailedRunDeletesItsFilesAndASuccessfulOneKeepsThem) {
  ScratchDir dir;
  auto make_run = [&](const std::string &folder) {
    fs::create_directory(dir.path(folder));
    kavrel::NoteRunDirectory(dir.path(folder));
    for (const char *name : {"a.tif", "b.tif"}) {
      const std::string target = dir.path(folder + "/" + name);
      std::ofstream(target + ".tmp") << "pixels";
      kavrel::NoteTemporaryFile(target + ".tmp");
      ASSERT_TRUE(kavrel::MoveTemporaryIntoPlace(target + ".tmp", target, true));
    }
    std::ofstream(dir.path(folder + "/pending.tmp")) << "half";
    kavrel::NoteTemporaryFile(dir.path(folder + "/pending.tmp"));
  };
  std::ofstream(dir.path("users.tif")) << "the user's";
  make_run("failed");
  kavrel::RemoveRunFiles();
  EXPECT_FALSE(fs::exists(dir.path("failed")));

  make_run("kept");
  kavrel::ForgetTemporaryFile(dir.path("kept/pending.tmp"));
  kavrel::KeepRunFiles();
  EXPECT_TRUE(fs::exists(dir.path("kept/a.tif")));
  EXPECT_TRUE(fs::exists(dir.path("kept/b.tif")));
  // A run that made an empty folder leaves none.
  fs::create_directory(dir.path("empty"));
  kavrel::NoteRunDirectory(dir.path("empty"));
  kavrel::KeepRunFiles();
  EXPECT_FALSE(fs::exists(dir.path("empty")));
  EXPECT_TRUE(fs::exists(dir.path("users.tif")));
}

}  // namespace
