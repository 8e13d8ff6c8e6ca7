// Lights through KHR_lights_punctual and cameras, each on a node placed and
// turned so that glTF's -Z is where the light shines or the camera looks.
#include <cmath>

#include <gtest/gtest.h>

#include "export_fixtures.h"

namespace kavrel_test {
namespace {

using nlohmann::json;

// Where the node's -Z points, and where the node sits.
Vec3 Forward(const json &node) {
  if (!node.contains("rotation")) return {0, 0, -1};
  return Rotate(node["rotation"].get<std::vector<float>>(), {0, 0, -1});
}

Vec3 Position(const json &node) { return node.value("translation", Vec3{0, 0, 0}); }

void ExpectNear(const Vec3 &a, const Vec3 &b) {
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(a[i], b[i], 1e-5f) << "component " << i;
}

class GltfLightCamera : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildLightCameraScene(FreshScene());
    file = ExportGlb(kavrel::scene(), "lights_cameras");
  }
  const json &LightOf(const std::string &node) {
    int light = NodeNamed(file, node)["extensions"]["KHR_lights_punctual"]["light"];
    return file.json["extensions"]["KHR_lights_punctual"]["lights"][light];
  }
  const json &CameraOf(const std::string &node) {
    return file.json["cameras"][NodeNamed(file, node)["camera"].get<int>()];
  }
  GltfFile file;
};

TEST_F(GltfLightCamera, EnabledPunctualLightsShineWhereTheHostSays) {
  EXPECT_EQ(file.json["extensionsUsed"], json::array({"KHR_lights_punctual"}));
  EXPECT_EQ(file.json["extensions"]["KHR_lights_punctual"]["lights"].size(), 3u);  // no "headlight", no "ambience"

  EXPECT_EQ(LightOf("sun")["type"], "directional");
  const float c = std::sqrt(0.5f);
  ExpectNear(Forward(NodeNamed(file, "sun")), {-c, -c, 0});  // travels away from shinedir

  EXPECT_EQ(LightOf("bulb")["type"], "point");
  ExpectNear(Position(NodeNamed(file, "bulb")), {1, 2, 3});

  const json &spot = LightOf("spot");
  EXPECT_NEAR(spot["spot"]["outerConeAngle"].get<float>(), 30 * M_PI / 180, 1e-6);
  EXPECT_EQ(spot["spot"]["innerConeAngle"], 0);
  EXPECT_EQ(spot["color"], json::array({1, 0.5, 0.5}));  // clamped into glTF's range
  ExpectNear(Position(NodeNamed(file, "spot")), {0, 0, 5});
  ExpectNear(Forward(NodeNamed(file, "spot")), {0, 0, -1});
}

TEST_F(GltfLightCamera, CamerasLookFromTheEyeWithTheirLens) {
  const json &standard = CameraOf("default")["perspective"];
  EXPECT_NEAR(standard["yfov"].get<float>(), M_PI / 4, 1e-6);
  EXPECT_NEAR(standard["aspectRatio"].get<float>(), 1, 1e-6);

  const json &front = NodeNamed(file, "front");
  EXPECT_FALSE(front.contains("rotation"));    // at (0, 0, 5) looking at the origin: no turn
  ExpectNear(Position(front), {0, 0, 5});
  EXPECT_NEAR(CameraOf("front")["perspective"]["aspectRatio"].get<float>(), 1.5f, 1e-6);

  const json &side = NodeNamed(file, "side");
  ExpectNear(Forward(side), {1, 0, 0});
  ExpectNear(Rotate(side["rotation"].get<std::vector<float>>(), {0, 1, 0}), {0, 1, 0});

  const json &ortho = CameraOf("ortho");
  EXPECT_EQ(ortho["type"], "orthographic");
  EXPECT_EQ(ortho["orthographic"]["xmag"], 1.5);
  EXPECT_EQ(ortho["orthographic"]["ymag"], 1);
  ExpectNear(Forward(NodeNamed(file, "ortho")), {0, 0, -1});  // up along the view falls back
}

}  // namespace
}  // namespace kavrel_test
