// Cameras: a glTF camera looks down its node's -Z with +Y up, so the node
// sits at lookfrom with +Z pointing from lookat back to the eye and +Y
// leaning towards lookup. The host describes the lens by a focal length and
// a film window: the vertical field of view is 2 atan((height / 2) / focal
// length), and an orthographic camera's magnifications are the window's
// half extents.
#include <cmath>

#include "kavrel/export/gltf_stages.h"
#include "kavrel/export/scene_walk.h"

namespace kavrel {
namespace {

constexpr float kZNear = 0.01f;
constexpr float kZFar = 10000.0f;
const Camera kDefaultLens;                     // focal length 5, window 4.1421347 square: 45 degrees

bool Positive(float v) { return std::isfinite(v) && v > 0.0f; }

Json Projection(const Camera &camera, ExportNotes &notes) {
  float width = camera.window[0], height = camera.window[1], focal = camera.focal_length;
  if (!Positive(width) || !Positive(height) || !Positive(focal)) {
    ++notes.clamped_values;
    width = kDefaultLens.window[0];
    height = kDefaultLens.window[1];
    focal = kDefaultLens.focal_length;
  }
  if (camera.projection == "orthographic") {
    return {{"type", "orthographic"},
            {"orthographic", {{"xmag", width / 2}, {"ymag", height / 2}, {"znear", kZNear}, {"zfar", kZFar}}}};
  }
  float yfov = 2.0f * std::atan((height / 2.0f) / focal);
  return {{"type", "perspective"},
          {"perspective", {{"aspectRatio", width / height}, {"yfov", yfov}, {"znear", kZNear}, {"zfar", kZFar}}}};
}

}  // namespace

void AddCameraNodes(const Scene &scene, GltfDocument &doc, std::vector<int> *roots) {
  for (int32_t i = 0; i < static_cast<int32_t>(scene.cameras.items.size()); ++i) {
    if (!IsLive(scene.cameras, i)) continue;
    const Camera &camera = scene.cameras.items[i];
    Json record = Projection(camera, doc.notes());
    record["name"] = camera.name;
    Frame frame = LookFrame(Sub(camera.lookfrom, camera.lookat), camera.lookup);
    Json node = PlacedNode(camera.name, camera.lookfrom, frame, doc.notes());
    node["camera"] = doc.Add(GltfArray::kCameras, record);
    roots->push_back(doc.Add(GltfArray::kNodes, node));
  }
}

}  // namespace kavrel
