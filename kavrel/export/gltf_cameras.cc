// Cameras: a glTF camera looks down its node's -Z with +Y up, so the node
// sits at the eye with +Z pointing from the target back to the eye and +Y
// leaning towards up. The host describes the lens by a focal length and
// a film window: the vertical field of view is 2 atan((height / 2) / focal
// length), and an orthographic camera's magnifications are the window's
// half extents.
#include <cmath>

#include "kavrel/export/gltf_stages.h"

namespace kavrel {
namespace {

constexpr float kZNear = 0.01f;
constexpr float kZFar = 10000.0f;
const ModelCamera kDefaultLens;                // focal length 5, window 4.1421347 square: 45 degrees

bool Positive(float v) { return std::isfinite(v) && v > 0.0f; }

int WriteCameraRecord(GltfDocument &doc, const ModelCamera &camera) {
  float width = camera.window[0], height = camera.window[1], focal = camera.focal_length;
  if (!Positive(width) || !Positive(height) || !Positive(focal)) {
    ++doc.notes().clamped_values;
    width = kDefaultLens.window[0];
    height = kDefaultLens.window[1];
    focal = kDefaultLens.focal_length;
  }
  int index = 0;
  JsonWriter &out = doc.Item(GltfArray::kCameras, &index);
  out.BeginObject();
  const char *type = camera.orthographic ? "orthographic" : "perspective";
  out.Field("type", type);
  out.Key(type);
  out.BeginObject();
  if (camera.orthographic) {
    out.Field("xmag", width / 2);
    out.Field("ymag", height / 2);
  } else {
    out.Field("aspectRatio", width / height);
    out.Field("yfov", 2.0f * std::atan((height / 2.0f) / focal));
  }
  out.Field("znear", kZNear);
  out.Field("zfar", kZFar);
  out.EndObject();
  out.Field("name", camera.name);
  out.EndObject();
  return index;
}

}  // namespace

void AddCameraNodes(const ExportModel &model, GltfDocument &doc, std::vector<int> *roots) {
  for (const ModelCamera &camera : model.cameras) {
    const int record = WriteCameraRecord(doc, camera);
    const Frame frame = LookFrame(Sub(camera.eye, camera.target), camera.up);
    int node = 0;
    JsonWriter &out = BeginPlacedNode(doc, camera.name, camera.eye, frame, &node);
    out.Field("camera", record);
    out.EndObject();
    roots->push_back(node);
  }
}

}  // namespace kavrel
