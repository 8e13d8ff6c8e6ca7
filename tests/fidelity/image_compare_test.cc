// Silhouettes and colours of two renderings on a key background.
#include <gtest/gtest.h>

#include "tools/fidelity/image_compare.h"

namespace kavrel::fidelity {
namespace {

const Rgb kKey{255, 0, 255};

// A 10x10 picture on the key with a filled rectangle [x0, x1) x [y0, y1).
RgbImage Picture(int x0, int x1, int y0, int y1, Rgb fill) {
  RgbImage image(10, 10, kKey);
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) image.Put(x, y, fill);
  }
  return image;
}

TEST(ImageCompare, OverlapIsIntersectionOverUnionAndColourCountsOverTheUnion) {
  Comparison c;
  std::string error;
  RgbImage grey = Picture(0, 4, 0, 5, {100, 100, 100});
  ASSERT_TRUE(Compare(grey, grey, kKey, &c, &error));
  EXPECT_EQ(c.overlap, 1.0);
  EXPECT_EQ(c.mean_diff, 0.0);

  // 20 pixels each, 10 shared: 10 / 30. The unshared pixels differ by
  // their grey's distance from the key, the shared ones by 12 per channel.
  ASSERT_TRUE(Compare(grey, Picture(2, 6, 0, 5, {112, 112, 112}), kKey, &c, &error));
  EXPECT_DOUBLE_EQ(c.overlap, 10.0 / 30.0);
  double only_original = 10 * (155 + 100 + 155) / 3.0, only_ours = 10 * (143 + 112 + 143) / 3.0, shared = 10 * 12;
  EXPECT_NEAR(c.mean_diff, (only_original + only_ours + shared) / 30.0, 1e-9);

  // Nothing drawn on either side agrees; pictures of other sizes are refused.
  ASSERT_TRUE(Compare(RgbImage(10, 10, kKey), RgbImage(10, 10, kKey), kKey, &c, &error));
  EXPECT_EQ(c.overlap, 1.0);
  EXPECT_FALSE(Compare(grey, RgbImage(8, 10, kKey), kKey, &c, &error));
  EXPECT_NE(error.find("10x10 and 8x10"), std::string::npos) << error;
}

TEST(ImageCompare, DifferenceShowsWhatEachSideLacks) {
  RgbImage diff = DifferenceImage(Picture(0, 4, 0, 1, {100, 100, 100}), Picture(2, 6, 0, 1, {110, 100, 100}), kKey);
  EXPECT_EQ(diff.At(0, 0), (Rgb{255, 255, 0}));   // only in the original: lost by us
  EXPECT_EQ(diff.At(3, 0), (Rgb{13, 13, 13}));    // in both: 10 / 3 * 4
  EXPECT_EQ(diff.At(5, 0), (Rgb{0, 255, 255}));   // only in ours
  EXPECT_EQ(diff.At(8, 0), (Rgb{0, 0, 0}));       // background on both
}

TEST(ImageCompare, KeyColourIsParsedStrictly) {
  Rgb colour;
  EXPECT_TRUE(ParseRgb("255,0,255", &colour));
  EXPECT_EQ(colour, kKey);
  EXPECT_FALSE(ParseRgb("256,0,0", &colour));
  EXPECT_FALSE(ParseRgb("1,0", &colour));
  EXPECT_FALSE(ParseRgb("1,0,0,0", &colour));
}

}  // namespace
}  // namespace kavrel::fidelity
