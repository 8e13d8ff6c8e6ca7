// 3MF outputs read back by lib3mf, the 3MF Consortium's own library: the
// triangles and colours of our .glb of the same model, closed meshes
// closed in the file, millimetres with Z up, and the same bytes for the
// same scene.
#include <gtest/gtest.h>

#include <map>

#include <Model/Classes/NMR_ModelTypes.h>

#include "convert_process.h"
#include "placed_geometry.h"

namespace kavrel_test {
namespace {

using nlohmann::json;

// How many triangle corners have each colour, and the triangles counted.
struct ColorCounts {
  std::map<Rgba, long> corners;
  long triangles = 0;
  bool operator==(const ColorCounts &o) const { return corners == o.corners && triangles == o.triangles; }
};

// A corner in glTF: the material's base colour times COLOR_0, as our 3MF
// writer takes it.
ColorCounts GlbColors(const std::string &path) {
  const Glb glb = ReadGlb(path);
  ColorCounts counts;
  ForEachPlacedPrimitive(glb, [&](const Affine &, const json &primitive) {
    json factor = json::array({1, 1, 1, 1});
    if (primitive.contains("material")) {
      factor = glb.doc["materials"][primitive["material"].get<int>()]["pbrMetallicRoughness"].value("baseColorFactor",
                                                                                                    factor);
    }
    const json &attributes = primitive["attributes"];
    const int indices = primitive["indices"];
    const size_t corners = glb.doc["accessors"][indices]["count"];
    for (size_t c = 0; c < corners; ++c) {
      const uint32_t v = glb.Element<uint32_t>(indices, c, 0);
      Rgba color;
      for (int k = 0; k < 3; ++k) {
        const float vertex = attributes.contains("COLOR_0") ? glb.Element<float>(attributes["COLOR_0"], v, k) : 1.0f;
        color[k] = ColorByte(vertex * factor[k].get<float>());
      }
      color[3] = ColorByte(factor[3].get<float>());
      ++counts.corners[color];
    }
    counts.triangles += static_cast<long>(corners / 3);
  });
  return counts;
}

ColorCounts ThreeMfColors(const ThreeMfContent &content) {
  ColorCounts counts;
  for (const ThreeMfTriangle &triangle : content.triangles) {
    for (const Rgba &color : triangle.color) ++counts.corners[color];
  }
  counts.triangles = static_cast<long>(content.triangles.size());
  return counts;
}

ThreeMfContent ConvertAndRead(const ScratchDirectory &scratch, const std::string &input, const std::string &output) {
  const ProcessResult run = RunConvert(scratch, {"-q", "-o", output, input}, scratch.path());
  EXPECT_EQ(run.status, 0) << input << run.err;
  return ReadThreeMf(scratch.path() + "/" + output);
}

// The 3MF of an Inventor scene given as text.
ThreeMfContent ConvertScene(const ScratchDirectory &scratch, const std::string &text) {
  scratch.Write("scene.iv", "#Inventor V2.1 ascii\n\n" + text);
  ThreeMfContent content = ConvertAndRead(scratch, "scene.iv", "scene.3mf");
  EXPECT_EQ(content.error, "");
  return content;
}

TEST(ThreeMf, CorpusModelsHaveTheGlbsTrianglesAndColours) {
  // Shared meshes (the windmill's sails), per-face materials, transparency,
  // a texture's material, and vertex colours.
  for (const char *model : {"buildings/windmill.iv", "vehicles/767.iv", "scenes/chesschairs.iv", "simple/texture.iv",
                            "simple/indexedFaceSet.iv"}) {
    ScratchDirectory scratch;
    const std::string input = std::string(KAVREL_INVENTOR_MODELS) + "/" + model;
    const ThreeMfContent content = ConvertAndRead(scratch, input, "model.3mf");
    ASSERT_EQ(content.error, "") << model;
    ASSERT_EQ(RunConvert(scratch, {"-q", "-o", "model.glb", input}, scratch.path()).status, 0) << model;
    const ColorCounts glb = GlbColors(scratch.path() + "/model.glb");
    EXPECT_GT(glb.triangles, 0) << model;
    EXPECT_TRUE(ThreeMfColors(content) == glb) << model;
    EXPECT_EQ(content.unit, static_cast<uint32_t>(NMR::MODELUNIT_MILLIMETER)) << model;
    EXPECT_LE(content.objects, content.items) << model;
  }
}

TEST(ThreeMf, SharedMeshesAreObjectsPlacedByTheirInstancesNames) {
  ScratchDirectory scratch;
  const ThreeMfContent content =
      ConvertScene(scratch,
                   "Separator {\n  DEF part Separator { Cube {} }\n"
                   "  DEF left Separator { Translation { translation 3 0 0 } USE part }\n"
                   "  DEF right Separator { Translation { translation -3 0 0 } USE part }\n}\n");
  EXPECT_EQ(content.objects, 1);
  EXPECT_EQ(content.part_numbers, (std::vector<std::string>{"Cube", "Cube #2", "Cube #3"}));
  ASSERT_EQ(content.triangles.size(), 36u);
  // The third item is the first moved 3 to the left.
  EXPECT_NEAR(content.triangles[24].p[0].x, content.triangles[0].p[0].x - 3, 1e-5);
  EXPECT_EQ(content.manifold_items, 3);
}

TEST(ThreeMf, AClosedMeshStandsOnZInMillimetresAndIsManifold) {
  ScratchDirectory scratch;
  // A box 2 x 4 x 6 units raised 5 along Y (the scene's up), and a sphere.
  const ThreeMfContent content = ConvertScene(scratch,
                                              "Separator {\n  Separator { Translation { translation 0 5 0 }\n"
                                              "    Cube { width 2 height 4 depth 6 } }\n"
                                              "  Translation { translation 10 0 0 }\n  Sphere {}\n}\n");
  ASSERT_EQ(content.items, 2);
  EXPECT_EQ(content.manifold_items, 2);
  Vec low{1e9f, 1e9f, 1e9f}, high{-1e9f, -1e9f, -1e9f};
  for (const ThreeMfTriangle &triangle : content.triangles) {
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
