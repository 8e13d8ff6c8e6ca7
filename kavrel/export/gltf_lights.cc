// Lights through KHR_lights_punctual. A glTF light shines along its node's
// -Z. Only lights whose "enabled" flag is on are written: a switched-off
// light (a camera headlight, for one) would light the scene in any glTF
// viewer, which has no switch. Ambient lights have no glTF form.
#include <algorithm>
#include <cmath>

#include "kavrel/export/gltf_stages.h"
#include "kavrel/export/scene_walk.h"

namespace kavrel {
namespace {

constexpr char kExtension[] = "KHR_lights_punctual";
constexpr float kPi = 3.14159265358979f;
const Vec3 kWorldUp{0, 1, 0};

float ClampCounted(float v, float low, float high, ExportNotes &notes) {
  float out = std::clamp(notes.Finite(v, low), low, high);
  if (out != v && std::isfinite(v)) ++notes.clamped_values;
  return out;
}

// The light's own record: type, colour, intensity, cone.
Json LightRecord(const Light &light, const char *type, ExportNotes &notes) {
  Json color = Json::array();
  for (float c : light.color) color.push_back(ClampCounted(c, 0.0f, 1.0f, notes));
  Json record = {{"name", light.name}, {"type", type}, {"color", std::move(color)},
                 {"intensity", ClampCounted(light.intensity, 0.0f, 1e30f, notes)}};
  if (light.model == "spot") {
    // The host's cutoff is the half angle of the cone, as glTF's outer angle.
    float outer = ClampCounted(light.cutoff * kPi / 180.0f, 1e-4f, kPi / 2, notes);
    record["spot"] = {{"innerConeAngle", 0.0f}, {"outerConeAngle", outer}};
  }
  return record;
}

// The node that carries the light, or false for a light glTF cannot hold.
bool LightNode(const Light &light, ExportNotes &notes, const char **type, Json *node) {
  if (light.model == "direction") {
    // shinedir points towards the light; the light travels the other way,
    // along the node's -Z, so +Z is shinedir.
    *type = "directional";
    *node = PlacedNode(light.name, {0, 0, 0}, LookFrame(light.shinedir, kWorldUp), notes);
  } else if (light.model == "point") {
    *type = "point";
    *node = PlacedNode(light.name, light.shinefrom, Frame{}, notes);
  } else if (light.model == "spot") {
    *type = "spot";
    Frame aim = LookFrame(Sub(light.shinefrom, light.shineat), kWorldUp);
    *node = PlacedNode(light.name, light.shinefrom, aim, notes);
  } else {
    return false;
  }
  return true;
}

}  // namespace

void AddLightNodes(const Scene &scene, GltfDocument &doc, std::vector<int> *roots) {
  for (int32_t i = 0; i < static_cast<int32_t>(scene.lights.items.size()); ++i) {
    const Light &light = scene.lights.items[i];
    const char *type = nullptr;
    Json node;
    if (!IsLive(scene.lights, i) || !light.enabled || !LightNode(light, doc.notes(), &type, &node)) continue;
    Json &lights = doc.json()["extensions"][kExtension]["lights"];
    lights.push_back(LightRecord(light, type, doc.notes()));
    node["extensions"] = {{kExtension, {{"light", lights.size() - 1}}}};
    doc.UseExtension(kExtension);
    roots->push_back(doc.Add(GltfArray::kNodes, node));
  }
}

}  // namespace kavrel
