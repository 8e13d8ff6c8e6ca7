// 3MF outputs read back by lib3mf, the 3MF Consortium's own library: the
// triangles and colours of our .glb of the same model, closed meshes
// closed in the file, millimetres with Z up, and the same bytes for the
// same scene.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include <Model/Classes/NMR_ModelTypes.h>

#include "convert_process.h"
#include "world_triangles.h"

namespace kavrel_test {
namespace {

// A colour as 3MF stores it: 8-bit red, green, blue and alpha.
using Rgba = std::array<uint8_t, 4>;

// How many triangle corners have each colour, and the triangles counted.
struct ColorCounts {
  std::map<Rgba, long> corners;
  long triangles = 0;
  bool operator==(const ColorCounts &o) const { return corners == o.corners && triangles == o.triangles; }
};

// A glTF corner's colour is the material's base colour times COLOR_0, as
// our 3MF writer takes it.
ColorCounts CornerColors(const WorldScene &scene) {
  ColorCounts counts;
  for (const Triangle &triangle : scene.triangles) {
    for (const std::array<float, 4> &color : triangle.corner_colors) {
      Rgba bytes;
      for (int c = 0; c < 4; ++c) bytes[c] = static_cast<uint8_t>(std::clamp(color[c], 0.0f, 1.0f) * 255.0f + 0.5f);
      ++counts.corners[bytes];
    }
  }
  counts.triangles = static_cast<long>(scene.triangles.size());
  return counts;
}

WorldScene ConvertAndRead(const ScratchDirectory &scratch, const std::string &input, const std::string &output,
                          ThreeMfFacts *facts) {
  const ProcessResult run = RunConvert(scratch, {"-q", "-o", output, input}, scratch.path());
  EXPECT_EQ(run.status, 0) << input << run.err;
  return ThreeMfScene(scratch.path() + "/" + output, facts);
}

// The 3MF of an Inventor scene given as text.
WorldScene ConvertScene(const ScratchDirectory &scratch, const std::string &text, ThreeMfFacts *facts) {
  scratch.Write("scene.iv", "#Inventor V2.1 ascii\n\n" + text);
  return ConvertAndRead(scratch, "scene.iv", "scene.3mf", facts);
}

TEST(ThreeMf, CorpusModelsHaveTheGlbsTrianglesAndColours) {
  // Shared meshes (the windmill's sails), per-face materials, transparency,
  // a texture's material, and vertex colours.
  for (const char *model : {"buildings/windmill.iv", "vehicles/767.iv", "scenes/chesschairs.iv", "simple/texture.iv",
                            "simple/indexedFaceSet.iv"}) {
    ScratchDirectory scratch;
    const std::string input = std::string(KAVREL_INVENTOR_MODELS) + "/" + model;
    ThreeMfFacts facts;
    const WorldScene content = ConvertAndRead(scratch, input, "model.3mf", &facts);
    ASSERT_EQ(RunConvert(scratch, {"-q", "-o", "model.glb", input}, scratch.path()).status, 0) << model;
    const ColorCounts glb = CornerColors(GltfScene(scratch.path() + "/model.glb"));
    EXPECT_GT(glb.triangles, 0) << model;
    EXPECT_TRUE(CornerColors(content) == glb) << model;
    EXPECT_EQ(facts.unit, static_cast<uint32_t>(NMR::MODELUNIT_MILLIMETER)) << model;
    EXPECT_LE(facts.objects, facts.items) << model;
  }
}

TEST(ThreeMf, SharedMeshesAreObjectsPlacedByTheirInstancesNames) {
  ScratchDirectory scratch;
  ThreeMfFacts facts;
  const WorldScene content =
      ConvertScene(scratch,
                   "Separator {\n  DEF part Separator { Cube {} }\n"
                   "  DEF left Separator { Translation { translation 3 0 0 } USE part }\n"
                   "  DEF right Separator { Translation { translation -3 0 0 } USE part }\n}\n",
                   &facts);
  EXPECT_EQ(facts.objects, 1);
  EXPECT_EQ(content.names, (std::multiset<std::string>{"Cube", "Cube #2", "Cube #3"}));
  ASSERT_EQ(content.triangles.size(), 36u);
  // The third item is the first moved 3 to the left.
  EXPECT_NEAR(content.triangles[24].p[0].x, content.triangles[0].p[0].x - 3, 1e-5);
  EXPECT_EQ(facts.manifold_items, 3);
}

TEST(ThreeMf, AClosedMeshStandsOnZInMillimetresAndIsManifold) {
  ScratchDirectory scratch;
  // A box 2 x 4 x 6 units raised 5 along Y (the scene's up), and a sphere.
  ThreeMfFacts facts;
  const WorldScene content = ConvertScene(scratch,
                                          "Separator {\n  Separator { Translation { translation 0 5 0 }\n"
                                          "    Cube { width 2 height 4 depth 6 } }\n"
                                          "  Translation { translation 10 0 0 }\n  Sphere {}\n}\n",
                                          &facts);
  ASSERT_EQ(facts.items, 2);
  EXPECT_EQ(facts.manifold_items, 2);
  Vec low{1e9f, 1e9f, 1e9f}, high{-1e9f, -1e9f, -1e9f};
  for (const Triangle &triangle : content.triangles) {
    for (const Vec &p : triangle.p) {
      if (p.x > 5) continue;  // the sphere's
      low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
      high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
  }
  // One unit, one millimetre; the scene's y is 3MF's z, its z 3MF's -y.
  EXPECT_NEAR(low.x, -1, 1e-5);
  EXPECT_NEAR(high.x, 1, 1e-5);
  EXPECT_NEAR(low.y, -3, 1e-5);
  EXPECT_NEAR(high.y, 3, 1e-5);
  EXPECT_NEAR(low.z, 3, 1e-5);
  EXPECT_NEAR(high.z, 7, 1e-5);
}

TEST(ThreeMf, LineSetsAndPointSetsAreLeftOut) {
  ScratchDirectory scratch;
  const std::string scene = "Separator { Coordinate3 { point [ 0 0 0, 1 0 0, 1 1 0 ] } LineSet { numVertices 3 }\n"
                            "  PointSet { numPoints 3 } Translation { translation 3 0 0 } Cube {} }\n";
  ThreeMfFacts facts;
  const WorldScene content = ConvertScene(scratch, scene, &facts);
  // The cube alone: the line set and the point set make no object.
  EXPECT_EQ(facts.items, 1);
  EXPECT_EQ(facts.objects, 1);
  EXPECT_EQ(content.triangles.size(), 12u);
}

TEST(ThreeMf, TheSameSceneGivesTheSameBytes) {
  ScratchDirectory scratch;
  const std::string input = std::string(KAVREL_INVENTOR_MODELS) + "/buildings/windmill.iv";
  for (const char *output : {"first.3mf", "second.3mf"}) {
    ASSERT_EQ(RunConvert(scratch, {"-q", "-o", output, input}, scratch.path()).status, 0);
  }
  EXPECT_EQ(ReadFile(scratch.path() + "/first.3mf"), ReadFile(scratch.path() + "/second.3mf"));
}

}  // namespace
}  // namespace kavrel_test
