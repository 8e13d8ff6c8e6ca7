// Perspective and orthographic camera nodes become host cameras (eye,
// target, up, focal length, film window); the fixed default camera.
#include <cmath>

#include <Inventor/actions/SoCallbackAction.h>
#include <Inventor/nodes/SoOrthographicCamera.h>
#include <Inventor/nodes/SoPerspectiveCamera.h>

#include "geometry/geometry.h"
#include "host/kv_call.hpp"
#include "host/kv_toolkit.h"
#include "lights/light_definition.h"
#include "lights/lights.h"
#include "state/state.h"

using kv::tok;

namespace {

// The camera's frame: rotated by its orientation, moved to its position,
// then placed by the model matrix (the host composes the factors).
void CameraMatrix(SoCallbackAction *action, const SoCamera *camera, float matrix[16]) {
  float model[16];
  ModelMatrixFloats(action, model);
  SbVec3f axis;
  float angle = 0;
  camera->orientation.getValue(axis, angle);
  const float axis_values[3] = {axis[0], axis[1], axis[2]};
  float quaternion[4], rotation[16], translation[16];
  Kv_AngleAxis2Q(axis_values, angle, quaternion, 0);
  Kv_Matrix_Q2RotationMatrix(quaternion, rotation);
  Kv_Matrix_Multiply(1, model, rotation, matrix);
  Kv_Matrix_Identity(translation);
  const SbVec3f &position = camera->position.getValue();
  translation[12] = position[0];
  translation[13] = position[1];
  translation[14] = position[2];
  Kv_Matrix_Multiply(1, matrix, translation, matrix);
}

struct CameraView {
  float eye[3];
  float target[3];
  float up[3];
};

// Eye, target (10 units ahead along -Z) and unit up vector of the camera frame.
CameraView ViewThrough(const float matrix[16]) {
  CameraView view;
  float up_point[3] = {0, 10, 0}, origin[3];
  Kv_Vector_Zero(view.eye);
  Kv_Vector_Zero(origin);
  view.target[0] = 0;
  view.target[1] = 0;
  view.target[2] = -10;
  TransformPoint(view.eye, matrix);
  TransformPoint(view.target, matrix);
  TransformPoint(up_point, matrix);
  TransformPoint(origin, matrix);
  for (int k = 0; k < 3; ++k) view.up[k] = up_point[k] - origin[k];
  Kv_Vector_Normalize(view.up);
  return view;
}

// Film window (width, height). A node derived from SoOrthographicCamera is
// taken as perspective but has no height angle: it gets the perspective default.
void CameraWindow(const SoCamera *camera, bool orthographic, float window[2]) {
  const float aspect = camera->aspectRatio.getValue();
  if (orthographic) {
    const float height = static_cast<const SoOrthographicCamera *>(camera)->height.getValue();
    window[0] = height * aspect;
    window[1] = height;
    return;
  }
  const float height_angle = camera->isOfType(SoPerspectiveCamera::getClassTypeId())
                                 ? static_cast<const SoPerspectiveCamera *>(camera)->heightAngle.getValue()
                                 : static_cast<float>(M_PI / 4.0);
  const float focal_doubled = camera->focalDistance.getValue() * 2.0f;
  window[0] = static_cast<float>(std::tan(static_cast<double>(height_angle) * 0.5) * focal_doubled);
  window[1] = window[0] / aspect;
}

}  // namespace

SoCallbackAction::Response inventorCB_Camera(void *, SoCallbackAction *action, const SoNode *node) {
  const SoCamera *camera = static_cast<const SoCamera *>(node);
  // Exact type: anything derived from the orthographic camera is taken as perspective.
  const bool orthographic = node->getTypeId() == SoOrthographicCamera::getClassTypeId();
  SbString wanted, name;
  NodeBaseName(wanted, node, orthographic ? "Orthographic" : "Perspective");
  MakeUniqueName(tok("camera"), plugin.state->camera_name_dict, plugin.state->camera_names, wanted, name);
  float matrix[16];
  CameraMatrix(action, camera, matrix);
  const CameraView view = ViewThrough(matrix);
  const float twist = 0.0f;
  const float focal_length = camera->focalDistance.getValue();
  float window[2];
  CameraWindow(camera, orthographic, window);
  kv::kv_list(Kv_Camera, name.getString(), tok("active"), KV_GROUP_END, tok("formmappingtype"), tok("type4"),
              KV_GROUP_END, tok("focallength"), &focal_length, KV_GROUP_END, tok("twist"), &twist, KV_GROUP_END,
              tok("window"), window, KV_GROUP_END, tok("lookfrom"), view.eye, KV_GROUP_END, tok("lookat"),
              view.target, KV_GROUP_END, tok("lookup"), view.up, KV_GROUP_END, tok("projection"),
              tok(orthographic ? "orthographic" : "perspective"), KV_GROUP_END);
  plugin.state->cameras_created++;
  PushNamedRecord(plugin.state->camera_list, name);
  if (plugin.state->options.add_camera_headlight == 1) CreateHeadLight(view.eye, view.target, name);
  return SoCallbackAction::CONTINUE;
}

void CreateDefaultCamera() {
  // 45 degrees across the window at focal length 5, seen from 10 units out on +Z.
  const float eye[3] = {0, 0, 10};
  float target[3];
  Kv_Vector_Zero(target);
  const float focal_length = 5.0f;
  const float side = static_cast<float>(std::tan(0.392699) * 10.0);
  const float window[2] = {side, side};
  kv::kv_list(Kv_Camera, "default", tok("lookfrom"), eye, KV_GROUP_END, tok("lookat"), target, KV_GROUP_END,
              tok("focallength"), &focal_length, KV_GROUP_END, tok("window"), window, KV_GROUP_END);
  if (plugin.state->options.add_camera_headlight == 1) CreateHeadLight(eye, target, SbString("default"));
}
