// Lights and cameras. Only lights whose "enabled" flag is on are kept: no
// format has a switch, and a switched-off light (a camera headlight, for
// one) would light the scene in every viewer.
#include "kavrel/export/model_stages.h"
#include "kavrel/export/scene_walk.h"

namespace kavrel {
namespace {

bool KindOf(const std::string &model, LightKind *kind) {
  static const std::pair<const char *, LightKind> kKinds[] = {{"direction", LightKind::kDirectional},
                                                              {"point", LightKind::kPoint},
                                                              {"spot", LightKind::kSpot},
                                                              {"ambient", LightKind::kAmbient}};
  for (const auto &[name, value] : kKinds) {
    if (model == name) {
      *kind = value;
      return true;
    }
  }
  return false;
}

}  // namespace

void AddLightsAndCameras(const Scene &scene, ExportModel &model) {
  for (int32_t i = 0; i < static_cast<int32_t>(scene.lights.items.size()); ++i) {
    const Light &light = scene.lights.items[i];
    LightKind kind;
    if (!IsLive(scene.lights, i) || !light.enabled || !KindOf(light.model, &kind)) continue;
    model.lights.push_back({light.name, kind, light.color, light.intensity, light.shinedir, light.shinefrom,
                            light.shineat, light.cutoff, light.decay});
  }
  for (int32_t i = 0; i < static_cast<int32_t>(scene.cameras.items.size()); ++i) {
    if (!IsLive(scene.cameras, i)) continue;
    const Camera &camera = scene.cameras.items[i];
    model.cameras.push_back({camera.name, camera.projection == "orthographic", camera.focal_length, camera.window,
                             camera.lookfrom, camera.lookat, camera.lookup});
  }
}

}  // namespace kavrel
