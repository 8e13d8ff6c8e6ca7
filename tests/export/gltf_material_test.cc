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

// Top row red and green, bottom row blue and half-transparent white.
const std::vector<uint8_t> kRgba = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 128};

class GltfMaterial : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string path = TempDir() + "/wood.rgb";
    WriteSgiImage(path, 2, 2, 4, kRgba);
    BuildMaterialScene(host.scene(), path);
  }
  const json &MaterialOf(const std::string &node) {
    int mesh = NodeNamed(file, node)["mesh"];
    return file.doc["materials"][file.doc["meshes"][mesh]["primitives"][0]["material"].get<int>()];
  }
  // The decoded PNG of the first texture.
  std::vector<uint8_t> TexturePixels(int *components) {
    const json &image = file.doc["images"][file.doc["textures"][0]["source"].get<int>()];
    EXPECT_EQ(image["mimeType"], "image/png");
    const json &view = file.doc["bufferViews"][image["bufferView"].get<int>()];
    int w = 0, h = 0;
    stbi_uc *pixels = stbi_load_from_memory(&file.bin[view["byteOffset"].get<size_t>()], view["byteLength"], &w, &h,
                                            components, 0);
    EXPECT_TRUE(pixels && w == 2 && h == 2);
    std::vector<uint8_t> out(pixels, pixels + (pixels ? 4 * *components : 0));
    stbi_image_free(pixels);
    return out;
  }
  kavrel::Host host;
  GltfFile file;
};

void ExpectFactors(const json &actual, const std::vector<float> &expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(actual[i].get<float>(), expected[i], 1e-6f) << i;
}

TEST_F(GltfMaterial, SurfacesMapToMetallicRoughnessAndTexturesTravelAsPng) {
  CapturedReports reports(host);
  file = ExportGlb(host, "materials");
  const json &paint = MaterialOf("paint");
  EXPECT_EQ(&paint, &MaterialOf("paint again"));  // one surface, one material
  ExpectFactors(paint["pbrMetallicRoughness"]["baseColorFactor"], {0.4f, 0.2f, 0, 0.75f});
  EXPECT_EQ(paint["alphaMode"], "BLEND");
  ExpectFactors(paint["emissiveFactor"], {0.5f, 0.5f, 0.5f});
  EXPECT_NEAR(paint["pbrMetallicRoughness"]["roughnessFactor"].get<float>(), std::sqrt(2.0f / 27), 1e-6f);
  EXPECT_EQ(paint["pbrMetallicRoughness"]["metallicFactor"], 0);
  const json &bright = MaterialOf("bright");
  ExpectFactors(bright["pbrMetallicRoughness"]["baseColorFactor"], {1, 1, 1, 1});  // clamped
  EXPECT_FALSE(bright.contains("alphaMode") || bright.contains("emissiveFactor"));

  const json &textured = MaterialOf("textured");
  EXPECT_EQ(textured["alphaMode"], "BLEND");   // RGBA image whose alpha drives the opacity
  int texture = textured["pbrMetallicRoughness"]["baseColorTexture"]["index"];
  const json &sampler = file.doc["samplers"][file.doc["textures"][texture]["sampler"].get<int>()];
  EXPECT_EQ(sampler, json({{"magFilter", 9729}, {"minFilter", 9987}, {"wrapS", 33071}, {"wrapT", 10497}}));
  int components = 0;
  EXPECT_EQ(TexturePixels(&components), kRgba);  // the top row stays on top
  EXPECT_EQ(components, 4);

  EXPECT_FALSE(MaterialOf("missing")["pbrMetallicRoughness"].contains("baseColorTexture"));
  ASSERT_EQ(reports.errors.size(), 1u);
  EXPECT_EQ(reports.errors[0].first, 2);
  EXPECT_NE(reports.errors[0].second.find("/nonexistent/lost.rgb"), std::string::npos);

  std::string path = TempDir() + "/textures.gltf", error;
  ASSERT_TRUE(ExportScene(host, path, kavrel::ExportFormat::kGltf, &error)) << error;
  EXPECT_EQ(json::parse(std::ifstream(path))["images"][0]["uri"].get<std::string>().rfind("data:image/png;base64,", 0),
            0u);
}

TEST_F(GltfMaterial, AlphaSettingsOfTheTextureApplyToThePixels) {
  CapturedReports quiet(host);
  kavrel::Texture &wood = *host.scene().textures.find("wood");
  int components = 0;
  wood.alpha_source = "off";
  file = ExportGlb(host, "alpha_off");
  TexturePixels(&components);
  EXPECT_TRUE(components == 3 && !MaterialOf("textured").contains("alphaMode"));

  wood.alpha_source = "type4";                 // chroma key: the lower-left colour, blue
  wood.alpha_invert = true;
  file = ExportGlb(host, "alpha_keyed");
  std::vector<uint8_t> keyed = TexturePixels(&components);
  ASSERT_EQ(components, 4);
  EXPECT_EQ((std::vector<uint8_t>{keyed[3], keyed[7], keyed[11], keyed[15]}),
            (std::vector<uint8_t>{0, 0, 255, 0}));  // inverted: only blue stays
}

}  // namespace
}  // namespace kavrel_test
