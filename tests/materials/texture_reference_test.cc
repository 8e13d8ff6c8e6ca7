// Texture references: directory rules, alpha and wrap settings, the image
// probe and what a missing image leaves behind.
#include <gtest/gtest.h>

#include "inventor_scenario.h"
#include "plugin/plugin_module.h"

using scenario::CallLines;
using scenario::Words;

namespace {

// Converts a red cube textured with the image file named in the Inventor file.
std::string TexturedCube(const std::string &filename, const char *more = "") {
  return "#Inventor V2.1 ascii\nSeparator { Material { transparency 0.25 } Texture2 { filename \"" + filename +
         "\" " + more + " } Cube {} }";
}

std::string TextureWords() {
  const auto calls = kavrel::journal().calls("Kv_Texture");
  return calls.size() == 1 ? Words(*calls[0]) : "";
}

}  // namespace

TEST(TextureReference, DirectoryIsReplacedOrStrippedAndMissingFilesAreReported) {
  scenario::Scenario run;
  ASSERT_TRUE(scenario::WriteSgiImage(run.dir() + "wood.rgb", 1, 1, 1, {7}));
  const std::string text = TexturedCube("/old/maps/wood.rgb");
  run.ConvertText(text, {{"txtr_ref_dir", run.dir()}, {"txtr_ref_dir_specific", "1"}, {"txtr_ref_dir_strip", "1"}});
  EXPECT_EQ(TextureWords(), "texture image textureimage " + run.dir() + "wood.rgb | enabled on | alphachansrc type "
                            "type1 invert enabled off | wrapu enabled on | wrapv enabled on | filter mipmap |");
  EXPECT_TRUE(run.errors.empty());

  run.ConvertText(text, {{"txtr_ref_dir_strip", "1"}});
  EXPECT_EQ(scenario::ErrorTexts(run, 1),
            std::vector<std::string>{"Texture image file 'wood.rgb' type not supported or not found."});
  EXPECT_TRUE(kavrel::journal().calls("Kv_Texture").empty());
  // The surface takes the material's opacity back from the textured 1.0.
  const auto opacity = scenario::CallsFor("Kv_Surface", "surface");
  ASSERT_EQ(opacity.size(), 7u);
  EXPECT_EQ(scenario::FloatsAfter(*opacity[5], "facecoeff"), std::vector<float>{1.0f});
  EXPECT_EQ(scenario::FloatsAfter(*opacity[6], "facecoeff"), std::vector<float>{0.75f});
}

TEST(TextureReference, AlphaSourceInvertAndWrapTokens) {
  scenario::Scenario run;
  ASSERT_TRUE(scenario::WriteSgiImage(run.dir() + "grey.rgb", 1, 1, 1, {7}));
  const std::string text = TexturedCube(run.dir() + "grey.rgb", "wrapS CLAMP");
  const std::pair<const char *, const char *> cases[] = {
      {"0", "type1 invert enabled on"}, {"1", "type3 invert enabled on"},
      {"2", "type4 invert enabled on"}, {"3", "off invert enabled off"}};
  for (const auto &c : cases) {
    run.ConvertText(text, {{"alpha_source", c.first}, {"alpha_invert", "1"}});
    EXPECT_NE(TextureWords().find(std::string("alphachansrc type ") + c.second + " | wrapu enabled off | "
                                  "wrapv enabled on |"), std::string::npos) << TextureWords();
  }
}

TEST(TextureReference, AlphaChannelDrivesOpacityOnlyWhenAllowed) {
  scenario::Scenario run;
  ASSERT_TRUE(scenario::WriteSgiImage(run.dir() + "ga.rgb", 1, 1, 2, {7, 128}));
  ASSERT_TRUE(scenario::WriteSgiImage(run.dir() + "rgba.rgb", 1, 1, 4, {7, 7, 7, 128}));
  ASSERT_TRUE(scenario::WriteSgiImage(run.dir() + "rgb.rgb", 1, 1, 3, {7, 7, 7}));
  const std::string link = "surface texture layer 1 enabled on texturelink texture uscale vscale uoffset voffset";
  const struct { const char *file, *source; bool modulated; } cases[] = {
      {"ga.rgb", "0", true}, {"rgba.rgb", "2", true}, {"rgba.rgb", "1", false}, {"rgb.rgb", "0", false}};
  for (const auto &c : cases) {
    run.ConvertText(TexturedCube(run.dir() + c.file), {{"transparency_source", c.source}});
    const auto calls = scenario::CallsFor("Kv_Surface", "surface");
    ASSERT_EQ(calls.size(), 7u) << c.file;
    EXPECT_EQ(Words(*calls[6]), link + (c.modulated ? " modulate faceopacity enabled on modulatesrc faceopacity "
                                                      "alphachan |" : " |")) << c.file << " " << c.source;
  }
}

TEST(TextureReference, WithoutTextureReferencesTheSurfaceStaysOpaqueAndUnlinked) {
  scenario::Scenario run;
  ASSERT_TRUE(scenario::WriteSgiImage(run.dir() + "grey.rgb", 1, 1, 1, {7}));
  run.ConvertText(TexturedCube(run.dir() + "grey.rgb"), {}, [] {
    state->options.ImportTextureReferences = 0;
    surf_attr_mod_operation[kAttrDiffuse] = kOpImportUnchanged;
  });
  EXPECT_TRUE(CallLines("Kv_Texture").empty());
  const auto calls = scenario::CallsFor("Kv_Surface", "surface");
  ASSERT_EQ(calls.size(), 6u);
  EXPECT_EQ(scenario::FloatsAfter(*calls[1], "diffuse"), std::vector<float>{1.0f});
  EXPECT_EQ(scenario::FloatsAfter(*calls[5], "facecoeff"), std::vector<float>{1.0f});
}
