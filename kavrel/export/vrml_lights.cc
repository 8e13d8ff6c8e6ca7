// Lights and viewpoints of a VRML97 or X3D output, in world space at the
// top of the file.
#include <algorithm>
#include <cmath>
#include <limits>

#include "kavrel/export/rotation.h"
#include "kavrel/export/vrml_stages.h"

namespace kavrel {
namespace {

constexpr float kPi = 3.14159265358979f;
constexpr float kDefaultRadius = 100;         // VRML97's PointLight and SpotLight radius
const ModelCamera kDefaultLens;                // focal length 5, window 4.1421347 square: 45 degrees

const char *TypeOf(LightKind kind) {
  switch (kind) {
    case LightKind::kDirectional: return "DirectionalLight";
    case LightKind::kPoint: return "PointLight";
    case LightKind::kSpot: return "SpotLight";
    default: return nullptr;
  }
}

float Clamped(float v, float low, float high, ExportNotes &notes) {
  const float out = std::clamp(notes.Finite(v, low), low, high);
  if (out != v && std::isfinite(v)) ++notes.clamped_values;
  return out;
}

// A unit direction; a zero one becomes VRML's default, straight down -Z.
Vec3 Direction(const Vec3 &v, ExportNotes &notes) {
  Vec3 unit = v;
  if (Normalize(&unit)) return unit;
  ++notes.clamped_values;
  return {0, 0, -1};
}

// The centre and radius of a sphere around every placed mesh.
void SceneBounds(const ExportModel &model, Vec3 *center, float *radius) {
  constexpr float kBig = std::numeric_limits<float>::max();
  Vec3 low{kBig, kBig, kBig}, high{-kBig, -kBig, -kBig};
  for (const ModelPlacement &placement : model.placements) {
    if (placement.mesh == kNone) continue;
    const std::vector<float> &positions = model.meshes[placement.mesh].flat.positions;
    for (size_t i = 0; i + 2 < positions.size(); i += 3) {
      const Vec3 p = TransformPoint(placement.world, Vec3{positions[i], positions[i + 1], positions[i + 2]});
      for (int k = 0; k < 3; ++k) {
        if (!std::isfinite(p[k])) continue;
        low[k] = std::min(low[k], p[k]);
        high[k] = std::max(high[k], p[k]);
      }
    }
  }
  if (low[0] > high[0]) return;
  *center = common::Scale(common::Add(low, high), 0.5f);
  *radius = Length(Sub(high, *center));
}

}  // namespace

void VrmlScene::Lights() {
  const bool positioned = std::any_of(model_.lights.begin(), model_.lights.end(), [](const ModelLight &light) {
    return light.kind == LightKind::kPoint || light.kind == LightKind::kSpot;
  });
  if (positioned) SceneBounds(model_, &scene_center_, &scene_radius_);
  for (const ModelLight &light : model_.lights) Light(light);
}

// VRML's point and spot lights reach as far as their radius; the host's
// reach everything, so the radius takes in the whole scene.
float VrmlScene::LightRadius(const Vec3 &position) const {
  const float reach = Length(Sub(scene_center_, position)) + scene_radius_;
  return std::isfinite(reach) ? std::max(kDefaultRadius, reach * 1.01f) : kDefaultRadius;
}

void VrmlScene::Light(const ModelLight &light) {
  const char *type = TypeOf(light.kind);
  if (type == nullptr) {
    out_.Comment("ambient light " + light.name + " left out: VRML has no ambient light");
    return;
  }
  out_.BeginNode(nullptr, type, names_.Unique(light.name));
  ++counts_.lights;
  out_.Bool("on", true);
  out_.Field("intensity", Clamped(light.intensity, 0, 1, notes_));
  float color[3];
  for (int i = 0; i < 3; ++i) color[i] = Clamped(light.color[i], 0, 1, notes_);
  out_.Field("color", color, 3);
  if (light.kind == LightKind::kDirectional) {
    // The host's direction points towards the light; VRML's the way it shines.
    out_.Field("direction", Direction(common::Negated(light.towards), notes_).data(), 3);
  } else {
    out_.Field("location", light.position.data(), 3);
    // The host's decay 0, 1, 2: constant, linear or quadratic fall-off.
    float attenuation[3] = {0, 0, 0};
    attenuation[std::clamp(light.decay, 0, 2)] = 1;
    out_.Field("attenuation", attenuation, 3);
    out_.Field("radius", LightRadius(light.position));
  }
  if (light.kind == LightKind::kSpot) {
    out_.Field("direction", Direction(Sub(light.aim, light.position), notes_).data(), 3);
    // Both are half the cone's angle; an Inventor spot light (drop-off
    // rate 0) is as bright at its edge as on its axis.
    const float cutoff = Clamped(light.cutoff * kPi / 180.0f, 1e-4f, kPi / 2, notes_);
    out_.Field("cutOffAngle", cutoff);
    out_.Field("beamWidth", cutoff);
  }
  out_.EndNode();
}

void VrmlScene::Viewpoints() {
  for (const ModelCamera &camera : model_.cameras) {
    float width = camera.window[0], height = camera.window[1], focal = camera.focal_length;
    if (!(width > 0 && height > 0 && focal > 0 && std::isfinite(width * height * focal))) {
      ++notes_.clamped_values;
      width = kDefaultLens.window[0];
      height = kDefaultLens.window[1];
      focal = kDefaultLens.focal_length;
    }
    if (camera.orthographic) {
      // VRML97 has no parallel projection: the perspective view from the
      // same eye that shows the film window's extent at the target.
      const float distance = Length(Sub(camera.eye, camera.target));
      if (distance > 0 && std::isfinite(distance)) focal = distance;
      out_.Comment("camera " + camera.name + " is orthographic: seen in perspective, framing its view at the target");
    }
    // The field of view spans the window's smaller side.
    const float fov = Clamped(2.0f * std::atan(std::min(width, height) / 2.0f / focal), 1e-4f, kPi - 1e-4f, notes_);
    out_.BeginNode(nullptr, "Viewpoint", names_.Unique(camera.name));
    ++counts_.viewpoints;
    out_.String("description", camera.name);
    out_.Field("position", camera.eye.data(), 3);
    // A Viewpoint looks down its -Z with +Y up, as a glTF camera does.
    Rotation("orientation", QuaternionFromFrame(LookFrame(Sub(camera.eye, camera.target), camera.up)));
    out_.Field("fieldOfView", fov);
    out_.EndNode();
  }
}

}  // namespace kavrel
