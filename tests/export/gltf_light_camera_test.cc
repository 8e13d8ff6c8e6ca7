// Lights through KHR_lights_punctual and cameras, each on a node placed and
// turned so that glTF's -Z is where the light shines or the camera looks.
#include <cmath>

#include <gtest/gtest.h>

#include "export_fixtures.h"

namespace kavrel_test {
namespace {

Vec3 Forward(const json &node) { return node.contains("rotation") ? Rotate(node["rotation"], {0, 0, -1}) : Vec3{0, 0, -1}; }
Vec3 Position(const json &node) { return node.value("translation", Vec3{0, 0, 0}); }

TEST(GltfLightCamera, LightsShineAndCamerasLookWhereTheHostSays) {
  kavrel::Host host;
  CapturedReports quiet(host);
  BuildLightCameraScene(host.scene());
  GltfFile file = ExportGlb(host, "lights_cameras");
  auto light_of = [&](const char *node) -> const json & {
    int light = NodeNamed(file, node)["extensions"]["KHR_lights_punctual"]["light"];
    return file.doc["extensions"]["KHR_lights_punctual"]["lights"][light];
  };
  auto camera_of = [&](const char *node) -> const json & {
    return file.doc["cameras"][NodeNamed(file, node)["camera"].get<int>()];
  };
  EXPECT_EQ(file.doc["extensionsUsed"], json::array({"KHR_lights_punctual"}));
  EXPECT_EQ(file.doc["extensions"]["KHR_lights_punctual"]["lights"].size(), 3u);  // no "headlight", no "ambience"
  EXPECT_EQ(light_of("sun")["type"], "directional");
  ExpectNear(Forward(NodeNamed(file, "sun")), {-std::sqrt(0.5f), -std::sqrt(0.5f), 0});  // away from shinedir
  EXPECT_EQ(light_of("bulb")["type"], "point");
  ExpectNear(Position(NodeNamed(file, "bulb")), {1, 2, 3});
  const json &spot = light_of("spot");
  EXPECT_NEAR(spot["spot"]["outerConeAngle"].get<float>(), 30 * M_PI / 180, 1e-6);
  EXPECT_EQ(spot["spot"]["innerConeAngle"], 0);
  EXPECT_EQ(spot["color"], json::array({1, 0.5, 0.5}));  // clamped into glTF's range
  ExpectNear(Position(NodeNamed(file, "spot")), {0, 0, 5});
  ExpectNear(Forward(NodeNamed(file, "spot")), {0, 0, -1});

  EXPECT_NEAR(camera_of("default")["perspective"]["yfov"].get<float>(), M_PI / 4, 1e-6);
  EXPECT_NEAR(camera_of("default")["perspective"]["aspectRatio"].get<float>(), 1, 1e-6);
  const json &front = NodeNamed(file, "front");
  EXPECT_FALSE(front.contains("rotation"));    // at (0, 0, 5) looking at the origin: no turn
  ExpectNear(Position(front), {0, 0, 5});
  EXPECT_NEAR(camera_of("front")["perspective"]["aspectRatio"].get<float>(), 1.5f, 1e-6);
  const json &side = NodeNamed(file, "side");
  ExpectNear(Forward(side), {1, 0, 0});
  ExpectNear(Rotate(side["rotation"], {0, 1, 0}), {0, 1, 0});
  EXPECT_EQ(camera_of("ortho")["orthographic"]["xmag"], 1.5);
  EXPECT_EQ(camera_of("ortho")["orthographic"]["ymag"], 1);
  ExpectNear(Forward(NodeNamed(file, "ortho")), {0, 0, -1});  // an up along the view falls back
}

// Each case turns glTF's frame through another branch of the frame-to-
// quaternion conversion (trace positive, x, y or z the largest diagonal
// element); forward and up must come out where the host says.
TEST(GltfLightCamera, EveryKindOfTurnPointsTheNode) {
  kavrel::Host host;
  Scene &s = host.scene();
  auto camera = [&](const char *name, Vec3 at, Vec3 up) {
    kavrel::Camera &c = s.cameras.get_or_add(name);
    c.lookfrom = {0, 0, 0}, c.lookat = at, c.lookup = up;
  };
  camera("right", {10, 0, 0}, {0, 1, 0});
  camera("upside down", {0, 0, 10}, {0, -1, 0});
  camera("back", {0, 0, 10}, {0, 1, 0});
  kavrel::Light &down = s.lights.get_or_add("down");
  down.model = "direction";
  down.shinedir = {0, 1, 0};  // towards the light: it shines along -Y
  GltfFile file = ExportGlb(host, "turns");
  const struct {
    const char *node;
    Vec3 forward, up;
  } expected[] = {{"right", {1, 0, 0}, {0, 1, 0}},
                  {"upside down", {0, 0, 1}, {0, -1, 0}},
                  {"back", {0, 0, 1}, {0, 1, 0}},
                  {"down", {0, -1, 0}, {1, 0, 0}}};
  for (const auto &e : expected) {
    SCOPED_TRACE(e.node);
    const json &node = NodeNamed(file, e.node);
    ASSERT_TRUE(node.contains("rotation"));
    ExpectNear(Forward(node), e.forward);
    ExpectNear(Rotate(node["rotation"], {0, 1, 0}), e.up);
  }
}

}  // namespace
}  // namespace kavrel_test
