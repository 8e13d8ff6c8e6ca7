// Texture references: directory rules, alpha and wrap settings, the image
// probe and what a missing image leaves behind.
#include <gtest/gtest.h>

#include "plugin/plugin.h"
#include "tests/materials/scenario_support.h"

using Lines = std::vector<std::string>;

namespace {

std::string TexturedCube(const std::string &filename, const char *more = "") {
  return "#Inventor V2.1 ascii\nSeparator { Material { transparency 0.25 } Texture2 { filename \"" + filename +
         "\" " + more + " } Cube {} }";
}

}  // namespace

TEST(TextureReference, DirectoryIsReplacedOrStrippedAndMissingFilesAreReported) {
  plugin_test::Conversion run;
  ASSERT_TRUE(material_test::WriteSgiImage(run.dir() + "wood.rgb", 1, 1, 1, {7}));
  const std::string text = TexturedCube("/old/maps/wood.rgb");
  run.ConvertText(text, {{"txtr_ref_dir", run.dir()}, {"txtr_ref_dir_specific", "1"}, {"txtr_ref_dir_strip", "1"}});
  EXPECT_EQ(material_test::Lines("Kv_Texture"),
            Lines{"Kv_Texture(\"texture\" image textureimage <1> \"" + run.dir() + "wood.rgb\" | enabled on | "
                  "alphachansrc type type1 invert enabled off | wrapu enabled on | wrapv enabled on | filter mipmap | .)"});
  EXPECT_TRUE(run.errors.empty());

  // The stripped name is looked up beside the model, where there is no bark.rgb.
  run.ConvertText(TexturedCube("/old/maps/bark.rgb"), {{"txtr_ref_dir_strip", "1"}});
  EXPECT_EQ(run.Errors(1), Lines{"Texture image file 'bark.rgb' type not supported or not found."});
  EXPECT_TRUE(material_test::Lines("Kv_Texture").empty());
  const Lines surface = material_test::Lines("Kv_Surface");  // the material's opacity comes back
  ASSERT_EQ(surface.size(), 7u);
  EXPECT_EQ(surface[5], "Kv_Surface(\"surface\" opacity facecoeff [1] .)");
  EXPECT_EQ(surface[6], "Kv_Surface(\"surface\" opacity facecoeff [0.75] .)");
}

TEST(TextureReference, AlphaSourceInvertWrapAndAlphaDrivenOpacity) {
  plugin_test::Conversion run;
  const std::vector<uint8_t> pixel = {7, 7, 7, 128};
  for (int components = 1; components <= 4; ++components) {
    std::vector<uint8_t> bytes(pixel.begin(), pixel.begin() + components);
    ASSERT_TRUE(material_test::WriteSgiImage(run.dir() + std::to_string(components) + ".rgb", 1, 1, components, bytes));
  }
  const struct { int components; const char *alpha_source, *transparency_source, *texture, *link; } cases[] = {
      {1, "0", "0", "type1 invert enabled on", ""},
      {2, "1", "0", "type3 invert enabled on", " modulate faceopacity enabled on modulatesrc faceopacity alphachan"},
      {4, "2", "2", "type4 invert enabled on", " modulate faceopacity enabled on modulatesrc faceopacity alphachan"},
      {4, "3", "1", "off invert enabled off", ""},
      {3, "0", "0", "type1 invert enabled on", ""}};
  for (const auto &c : cases) {
    run.ConvertText(TexturedCube(run.dir() + std::to_string(c.components) + ".rgb", "wrapS CLAMP"),
                    {{"alpha_source", c.alpha_source}, {"transparency_source", c.transparency_source},
                     {"alpha_invert", "1"}});
    const Lines texture = material_test::Lines("Kv_Texture"), surface = material_test::Lines("Kv_Surface");
    ASSERT_EQ(texture.size(), 1u);
    EXPECT_NE(texture[0].find(std::string("type ") + c.texture + " | wrapu enabled off | wrapv enabled on |"),
              std::string::npos) << texture[0];
    EXPECT_EQ(surface.back(), "Kv_Surface(\"surface\" texture \"layer 1\" enabled on texturelink \"texture\" "
                              "uscale [1] vscale [1] uoffset [0] voffset [0]" + std::string(c.link) + " | .)");
  }
}

TEST(TextureReference, WithoutTextureReferencesTheSurfaceStaysOpaqueAndUnlinked) {
  plugin_test::Conversion run;
  ASSERT_TRUE(material_test::WriteSgiImage(run.dir() + "grey.rgb", 1, 1, 1, {7}));
  run.ConvertText(TexturedCube(run.dir() + "grey.rgb"), {}, [] {
    plugin.state->options.ImportTextureReferences = 0;
    surf_attr_mod_operation[kAttrDiffuse] = kOpImportUnchanged;
  });
  EXPECT_TRUE(material_test::Lines("Kv_Texture").empty());
  const Lines surface = material_test::Lines("Kv_Surface");
  ASSERT_EQ(surface.size(), 6u);
  EXPECT_EQ(surface[1], "Kv_Surface(\"surface\" color rgb [0.8 0.8 0.8] | shadingcoeffs diffuse [1] .)");
  EXPECT_EQ(surface[5], "Kv_Surface(\"surface\" opacity facecoeff [1] .)");
}
