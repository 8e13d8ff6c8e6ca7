// Lights through KHR_lights_punctual. A glTF light shines along its node's
// -Z. Ambient lights have no glTF form.
#include <algorithm>
#include <cmath>

#include "kavrel/export/gltf_stages.h"

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

const char *TypeOf(LightKind kind) {
  switch (kind) {
    case LightKind::kDirectional: return "directional";
    case LightKind::kPoint: return "point";
    case LightKind::kSpot: return "spot";
    default: return nullptr;
  }
}

// The light's own record: type, colour, intensity, cone.
int WriteLightRecord(GltfDocument &doc, const ModelLight &light) {
  ExportNotes &notes = doc.notes();
  float color[3];
  for (int i = 0; i < 3; ++i) color[i] = ClampCounted(light.color[i], 0.0f, 1.0f, notes);
  const float intensity = ClampCounted(light.intensity, 0.0f, 1e30f, notes);
  int index = 0;
  JsonWriter &out = doc.Light(&index);
  out.BeginObject();
  out.Field("name", light.name);
  out.Field("type", TypeOf(light.kind));
  out.Key("color");
  out.Floats(color, 3);
  out.Field("intensity", intensity);
  if (light.kind == LightKind::kSpot) {
    // The host's cutoff is the half angle of the cone, as glTF's outer angle.
    const float outer = ClampCounted(light.cutoff * kPi / 180.0f, 1e-4f, kPi / 2, notes);
    out.Key("spot");
    out.BeginObject();
    out.Field("innerConeAngle", 0.0f);
    out.Field("outerConeAngle", outer);
    out.EndObject();
  }
  out.EndObject();
  return index;
}

// Where the light's node sits and how it is turned.
void LightPlacement(const ModelLight &light, Vec3 *position, Frame *frame) {
  if (light.kind == LightKind::kDirectional) {
    // The light travels away from `towards`, along the node's -Z, so +Z is `towards`.
    *position = {0, 0, 0};
    *frame = LookFrame(light.towards, kWorldUp);
  } else if (light.kind == LightKind::kSpot) {
    *position = light.position;
    *frame = LookFrame(Sub(light.position, light.aim), kWorldUp);
  } else {
    *position = light.position;
    *frame = Frame{};
  }
}

}  // namespace

void AddLightNodes(const ExportModel &model, GltfDocument &doc, std::vector<int> *roots) {
  for (const ModelLight &light : model.lights) {
    if (TypeOf(light.kind) == nullptr) continue;
    Vec3 position;
    Frame frame;
    LightPlacement(light, &position, &frame);
    const int record = WriteLightRecord(doc, light);
    int node = 0;
    JsonWriter &out = BeginPlacedNode(doc, light.name, position, frame, &node);
    out.Key("extensions");
    out.BeginObject();
    out.Key(kExtension);
    out.BeginObject();
    out.Field("light", record);
    out.EndObject();
    out.EndObject();
    out.EndObject();
    roots->push_back(node);
  }
}

}  // namespace kavrel
