#include "tools/fidelity/view_camera.h"

#include <cstdio>

#include <Inventor/actions/SoGetBoundingBoxAction.h>

namespace kavrel::fidelity {
namespace {

SbVec3f LookingDirection(View view) {
  SbVec3f direction = view == View::kFront ? SbVec3f(0, 0, -1) : SbVec3f(1, -1, -1);
  direction.normalize();
  return direction;
}

std::string Triple(const SbVec3f &v) {
  char text[96];
  std::snprintf(text, sizeof text, "%.9g,%.9g,%.9g", v[0], v[1], v[2]);
  return text;
}

}  // namespace

bool ParseView(const std::string &name, View *view) {
  if (name == "front") {
    *view = View::kFront;
  } else if (name == "above-front-left") {
    *view = View::kAboveFrontLeft;
  } else {
    return false;
  }
  return true;
}

NodeRef CameraViewingAll(SoNode *scene, View view, const SbViewportRegion &viewport, std::string *error) {
  SoGetBoundingBoxAction bounds(viewport);
  bounds.apply(scene);
  if (bounds.getBoundingBox().isEmpty()) {
    *error = "the scene has no extent to look at";
    return nullptr;
  }
  auto *camera = new SoPerspectiveCamera;
  camera->ref();
  // viewAll keeps the orientation and moves the camera back along it.
  camera->position = -LookingDirection(view);
  camera->pointAt(SbVec3f(0, 0, 0), SbVec3f(0, 1, 0));
  camera->viewAll(scene, viewport);
  return NodeRef(camera);
}

std::string DescribeCamera(const SoPerspectiveCamera &camera) {
  SbVec3f position = camera.position.getValue();
  SbVec3f direction, up;
  camera.orientation.getValue().multVec(SbVec3f(0, 0, -1), direction);
  camera.orientation.getValue().multVec(SbVec3f(0, 1, 0), up);
  char angle[32];
  std::snprintf(angle, sizeof angle, "%.9g", camera.heightAngle.getValue() * 180.0 / M_PI);
  return Triple(position) + "\t" + Triple(position + direction * camera.focalDistance.getValue()) + "\t" +
         Triple(up) + "\t" + angle;
}

}  // namespace kavrel::fidelity
