// Surfaces become materials with the documented numbers; texture links
// become base-colour textures whose images travel as PNG.
#include <cmath>
#include <fstream>

#include <gtest/gtest.h>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
#pragma GCC diagnostic pop

#include "export_fixtures.h"

namespace kavrel_test {
namespace {

using nlohmann::json;

// Top row red and green, bottom row blue and half-transparent white.
const std::vector<uint8_t> kRgba = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 128};

std::string WoodImage() {
  std::string path = TempDir() + "/wood.rgb";
  WriteSgiImage(path, 2, 2, 4, kRgba);
  return path;
}

const json &MaterialOf(const GltfFile &file, const std::string &node) {
  int mesh = NodeNamed(file, node)["mesh"];
  return file.json["materials"][file.json["meshes"][mesh]["primitives"][0]["material"].get<int>()];
}

void ExpectFactors(const json &actual, const std::vector<float> &expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(actual[i].get<float>(), expected[i], 1e-6f) << i;
}

// The PNG behind a texture, decoded: components and pixels.
std::vector<uint8_t> TexturePixels(const GltfFile &file, int texture, int *components) {
  const json &image = file.json["images"][file.json["textures"][texture]["source"].get<int>()];
  EXPECT_EQ(image["mimeType"], "image/png");
  const json &view = file.json["bufferViews"][image["bufferView"].get<int>()];
  const uint8_t *png = &file.bin[view["byteOffset"].get<size_t>()];
  int w = 0, h = 0;
  stbi_uc *pixels = stbi_load_from_memory(png, view["byteLength"], &w, &h, components, 0);
  EXPECT_TRUE(pixels && w == 2 && h == 2);
  std::vector<uint8_t> out(pixels, pixels + (pixels ? 4 * *components : 0));
  stbi_image_free(pixels);
  return out;
}

TEST(GltfMaterial, SurfaceValuesMapToMetallicRoughnessFactors) {
  BuildMaterialScene(FreshScene(), WoodImage());
  GltfFile file = ExportGlb(kavrel::scene(), "materials");
  const json &paint = MaterialOf(file, "paint");
  EXPECT_EQ(&paint, &MaterialOf(file, "paint again"));  // one surface, one material
  ExpectFactors(paint["pbrMetallicRoughness"]["baseColorFactor"], {0.4f, 0.2f, 0, 0.75f});
  EXPECT_EQ(paint["alphaMode"], "BLEND");
  ExpectFactors(paint["emissiveFactor"], {0.5f, 0.5f, 0.5f});
  EXPECT_NEAR(paint["pbrMetallicRoughness"]["roughnessFactor"].get<float>(), std::sqrt(2.0f / 27), 1e-6f);
  EXPECT_EQ(paint["pbrMetallicRoughness"]["metallicFactor"], 0);

  const json &bright = MaterialOf(file, "bright");
  ExpectFactors(bright["pbrMetallicRoughness"]["baseColorFactor"], {1, 1, 1, 1});  // clamped
  EXPECT_FALSE(bright.contains("alphaMode"));
  EXPECT_FALSE(bright.contains("emissiveFactor"));
}

TEST(GltfMaterial, TexturesTravelAsPngAndUnreadableOnesWarnOnce) {
  BuildMaterialScene(FreshScene(), WoodImage());
  CapturedReports reports;
  GltfFile file = ExportGlb(kavrel::scene(), "textures");

  const json &textured = MaterialOf(file, "textured");
  EXPECT_EQ(textured["alphaMode"], "BLEND");   // RGBA image whose alpha drives the opacity
  int texture = textured["pbrMetallicRoughness"]["baseColorTexture"]["index"];
  const json &sampler = file.json["samplers"][file.json["textures"][texture]["sampler"].get<int>()];
  EXPECT_EQ(sampler["wrapS"], 33071);          // wrap_u off: clamp
  EXPECT_EQ(sampler["wrapT"], 10497);
  EXPECT_EQ(sampler["minFilter"], 9987);
  int components = 0;
  std::vector<uint8_t> pixels = TexturePixels(file, texture, &components);
  EXPECT_EQ(components, 4);
  EXPECT_EQ(pixels, kRgba);                    // the top row stays on top

  const json &missing = MaterialOf(file, "missing");
  EXPECT_FALSE(missing["pbrMetallicRoughness"].contains("baseColorTexture"));
  ASSERT_EQ(reports.errors.size(), 1u);
  EXPECT_EQ(reports.errors[0].first, 2);
  EXPECT_NE(reports.errors[0].second.find("/nonexistent/lost.rgb"), std::string::npos);

  std::string path = TempDir() + "/textures.gltf", error;
  ASSERT_TRUE(ExportScene(kavrel::scene(), path, kavrel::ExportFormat::kGltf, &error)) << error;
  json gltf = json::parse(std::ifstream(path));
  EXPECT_EQ(gltf["images"][0]["uri"].get<std::string>().rfind("data:image/png;base64,", 0), 0u);
}

TEST(GltfMaterial, AlphaSettingsOfTheTextureApplyToThePixels) {
  BuildMaterialScene(FreshScene(), WoodImage());
  kavrel::Texture &wood = *kavrel::scene().textures.find("wood");
  int components = 0;

  wood.alpha_source = "off";
  GltfFile file = ExportGlb(kavrel::scene(), "alpha_off");
  TexturePixels(file, 0, &components);
  EXPECT_EQ(components, 3);
  EXPECT_FALSE(MaterialOf(file, "textured").contains("alphaMode"));

  wood.alpha_source = "type4";                 // chroma key: the lower-left colour, blue
  wood.alpha_invert = true;
  std::vector<uint8_t> keyed = TexturePixels(ExportGlb(kavrel::scene(), "alpha_keyed"), 0, &components);
  ASSERT_EQ(components, 4);
  EXPECT_EQ((std::vector<uint8_t>{keyed[3], keyed[7], keyed[11], keyed[15]}),
            (std::vector<uint8_t>{0, 0, 255, 0}));  // inverted: only blue stays
}

}  // namespace
}  // namespace kavrel_test
