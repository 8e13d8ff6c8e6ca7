// The cameras pictures are taken from: perspective, looking at the whole
// scene from one of a few fixed directions, with Y up.
#ifndef KAVREL_TOOLS_FIDELITY_VIEW_CAMERA_H
#define KAVREL_TOOLS_FIDELITY_VIEW_CAMERA_H

#include <string>

#include <Inventor/SbViewportRegion.h>
#include <Inventor/nodes/SoPerspectiveCamera.h>

#include "tools/fidelity/coin_scene.h"

namespace kavrel::fidelity {

enum class View {
  kFront,            // from +Z towards -Z
  kAboveFrontLeft,   // from (-1, 1, 1) towards the centre
};

// "front" or "above-front-left"; false for any other name.
bool ParseView(const std::string &name, View *view);

// A camera from `view` placed by Coin3D's viewAll on the scene's bounding
// box; null with a message when the scene has no extent to look at.
NodeRef CameraViewingAll(SoNode *scene, View view, const SbViewportRegion &viewport, std::string *error);

// The camera as another renderer takes it: "PX,PY,PZ<TAB>FX,FY,FZ<TAB>UX,UY,UZ<TAB>ANGLE",
// position, focal point, view-up and the vertical view angle in degrees.
std::string DescribeCamera(const SoPerspectiveCamera &camera);

}  // namespace kavrel::fidelity

#endif
