// fidelity-render under a virtual X server: what ends up in its pictures.
#include <filesystem>

#include <gtest/gtest.h>

#include "../cli/convert_process.h"
#include "tools/fidelity/image_compare.h"
#include "tools/fidelity/png_file.h"

namespace kavrel::fidelity {
namespace {

using kavrel_test::ProcessResult;
using kavrel_test::ScratchDirectory;

const Rgb kKey{255, 0, 255};

ProcessResult Render(const ScratchDirectory &scratch, const std::vector<std::string> &args) {
  std::vector<std::string> argv{"xvfb-run", "-a", "-s", "-screen 0 640x480x24", FIDELITY_RENDER_PATH, "--size", "64"};
  argv.insert(argv.end(), args.begin(), args.end());
  // Started from the root, so that only the files' own directories can hold their textures.
  return kavrel_test::ChildProcess(argv, "/", scratch.path()).Wait(120);
}

RgbImage Picture(const std::string &path) {
  RgbImage image;
  std::string error;
  EXPECT_TRUE(ReadPng(path, &image, &error)) << error;
  return image;
}

int SilhouettePixels(const RgbImage &image) {
  int count = 0;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) count += image.At(x, y) != kKey;
  }
  return count;
}

TEST(RenderTool, TheFilesOwnViewpointAndBackgroundGiveWayAndTexturesAreFoundBesideIt) {
  ScratchDirectory scratch;
  std::string error;
  std::filesystem::create_directories(scratch.path() + "/models");
  ASSERT_TRUE(WritePng(scratch.path() + "/models/red.png", RgbImage(4, 4, {255, 0, 0}), &error)) << error;
  std::string model = scratch.Write("models/quad.wrl", R"(#VRML V2.0 utf8
Viewpoint { position 0 0 500 }
Background { skyColor 0 0 1 }
Shape {
  appearance Appearance { material Material { } texture ImageTexture { url "red.png" } }
  geometry IndexedFaceSet { coord Coordinate { point [ -1 -1 0, 1 -1 0, 1 1 0, -1 1 0 ] } coordIndex [ 0 1 2 3 -1 ]
    texCoord TextureCoordinate { point [ 0 0, 1 0, 1 1, 0 1 ] } texCoordIndex [ 0 1 2 3 -1 ] }
})");
  ProcessResult result = Render(scratch, {model, scratch.path() + "/quad.png"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out.rfind("camera\t" + scratch.path() + "/quad.png\t0,0,", 0), 0u) << result.out;
  RgbImage picture = Picture(scratch.path() + "/quad.png");
  EXPECT_EQ(picture.At(0, 0), kKey);
  Rgb centre = picture.At(32, 32);
  EXPECT_TRUE(centre.r > 150 && centre.g < 40 && centre.b < 40) << int(centre.r) << "," << int(centre.g) << ","
                                                                 << int(centre.b);
}

TEST(RenderTool, FurtherFilesOfAJobShareTheFirstFilesCameraAndFailuresStayWithTheirFile) {
  ScratchDirectory scratch;
  std::string large = scratch.Write("large.iv", "#Inventor V2.1 ascii\nCube { width 8 height 8 depth 8 }\n");
  // A camera of the file's own is the renderer's to replace.
  std::string small =
      scratch.Write("small.iv", "#Inventor V2.1 ascii\nPerspectiveCamera { position 0 0 2 }\nCube { }\n");
  std::string broken = scratch.Write("broken.iv", "#Inventor V2.1 ascii\nSeparator { Cube {\n");
  std::string jobs = scratch.Write(
      "jobs.txt", "front\t" + large + "\t" + scratch.path() + "/large.png\t" + small + "\t" + scratch.path() +
                      "/small.png\t" + broken + "\t" + scratch.path() + "/broken.png\n" + "front\t" + broken + "\t" +
                      scratch.path() + "/alone.png\n" + "front\t" + small + "\t" + scratch.path() + "/first.png\n");
  ProcessResult result = Render(scratch, {"--jobs", jobs});
  EXPECT_EQ(result.status, 1) << result.err;
  EXPECT_NE(result.out.find("rendered\t" + scratch.path() + "/small.png\n"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("failed\t" + scratch.path() + "/broken.png\tCoin3D cannot read it"), std::string::npos);
  EXPECT_NE(result.out.find("failed\t" + scratch.path() + "/alone.png\t"), std::string::npos);
  // A cube of a quarter the size, from the same camera and farther back,
  // covers some 4% of the pixels (a camera of its own would fill the view);
  // alone it fills its view as the large one does.
  double ratio = double(SilhouettePixels(Picture(scratch.path() + "/small.png"))) /
                 SilhouettePixels(Picture(scratch.path() + "/large.png"));
  EXPECT_GT(ratio, 0.02);
  EXPECT_LT(ratio, 0.07);
  Comparison same;
  std::string error;
  ASSERT_TRUE(Compare(Picture(scratch.path() + "/large.png"), Picture(scratch.path() + "/first.png"), kKey, &same,
                      &error));
  EXPECT_EQ(same.overlap, 1.0);
}

}  // namespace
}  // namespace kavrel::fidelity
