// The lights subsystem as the other folders see it: the light and camera
// callbacks and the default camera.
#ifndef LIGHTS_LIGHTS_H
#define LIGHTS_LIGHTS_H

#include <Inventor/actions/SoCallbackAction.h>

// SoDirectionalLight pre-callback: a directional light in world coordinates.
SoCallbackAction::Response inventorCB_DirectionalLight(void *data, SoCallbackAction *action, const SoNode *node);
// SoPointLight pre-callback: a point light in world coordinates.
SoCallbackAction::Response inventorCB_PointLight(void *data, SoCallbackAction *action, const SoNode *node);
// SoSpotLight pre-callback: a spot light in world coordinates.
SoCallbackAction::Response inventorCB_SpotLight(void *data, SoCallbackAction *action, const SoNode *node);
// Perspective and orthographic camera pre-callback: a camera, and its headlight when asked for.
SoCallbackAction::Response inventorCB_Camera(void *data, SoCallbackAction *action, const SoNode *node);

// The fixed default camera made after every traversal, with its headlight when asked for.
void CreateDefaultCamera();

#endif
