// Kv_Light and Kv_Camera.
#include <cstdarg>

#include "host/kv_toolkit.h"
#include "kavrel/toolkit/call_recorder.h"

namespace kavrel {
namespace {

// The host's own ambient light. It exists before any import names it, so
// the first call that names it finds an ambient light, not a new point light.
constexpr const char *kDefaultAmbient = "defaultambient";

void ApplyLightAttribute(Light &light, const Attribute &a) {
  switch (a.id()) {
    case Attr::kLightColor: light.color = a.vec3(); break;
    case Attr::kLightModel: light.model = *a.word; break;
    case Attr::kLightEnabled: light.enabled = a.on(); break;
    case Attr::kIntensity: light.intensity = a.number(); break;
    case Attr::kShineDir: light.shinedir = a.vec3(); break;
    case Attr::kShineFrom: light.shinefrom = a.vec3(); break;
    case Attr::kShineAt: light.shineat = a.vec3(); break;
    case Attr::kDecay: light.decay = static_cast<int32_t>(a.integer); break;
    case Attr::kDistance: light.distance = a.number(); break;
    case Attr::kCutoff: light.cutoff = a.number(); break;
    case Attr::kDelta: light.delta = a.number(); break;
    default: break;
  }
}

Light &LightNamed(Scene &scene, const std::string &name) {
  bool is_new = scene.lights.find(name) == nullptr;
  Light &light = scene.lights.get_or_add(name);
  if (is_new && name == kDefaultAmbient) {
    light.model = "ambient";
    light.color = {0.2f, 0.2f, 0.2f};
  }
  return light;
}

int DefineLight(Host &host, const char *name, ListReader &list) {
  return DefineWithAttributes(host, "Kv_Light", "light name", Family::kLight, name, list, [&](CallRecorder &call) {
    Light &light = LightNamed(host.scene(), name);
    for (const Attribute &attribute : call.attributes()) ApplyLightAttribute(light, attribute);
  });
}

// One camera of the scene is the active one.
void MakeActive(Scene &scene, Camera &camera) {
  for (Camera &other : scene.cameras.items) other.active = false;
  camera.active = true;
}

void ApplyCameraAttribute(Scene &scene, Camera &camera, const Attribute &a) {
  switch (a.id()) {
    case Attr::kActive: MakeActive(scene, camera); break;
    case Attr::kFormMapping: camera.form_mapping = *a.word; break;
    case Attr::kFocalLength: camera.focal_length = a.number(); break;
    case Attr::kTwist: camera.twist = a.number(); break;
    case Attr::kWindow: camera.window = {a.floats[0], a.floats[1]}; break;
    case Attr::kLookFrom: camera.lookfrom = a.vec3(); break;
    case Attr::kLookAt: camera.lookat = a.vec3(); break;
    case Attr::kLookUp: camera.lookup = a.vec3(); break;
    case Attr::kProjection: camera.projection = *a.word; break;
    default: break;
  }
}

int DefineCamera(Host &host, const char *name, ListReader &list) {
  return DefineWithAttributes(host, "Kv_Camera", "camera name", Family::kCamera, name, list, [&](CallRecorder &call) {
    Camera &camera = host.scene().cameras.get_or_add(name);
    for (const Attribute &attribute : call.attributes()) ApplyCameraAttribute(host.scene(), camera, attribute);
  });
}

}  // namespace
}  // namespace kavrel

extern "C" int Kv_Light(const char *light, ...) {
  KAVREL_LIST_AFTER(light, list);
  return kavrel::DefineLight(kavrel::CurrentHost(), light, list);
}

extern "C" int Kv_Camera(const char *camera, ...) {
  KAVREL_LIST_AFTER(camera, list);
  return kavrel::DefineCamera(kavrel::CurrentHost(), camera, list);
}
