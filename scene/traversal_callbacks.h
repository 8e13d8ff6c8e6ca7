// The scene's own traversal callbacks, registered by the conversion driver.
#ifndef SCENE_TRAVERSAL_CALLBACKS_H
#define SCENE_TRAVERSAL_CALLBACKS_H

#include <Inventor/actions/SoCallbackAction.h>

class SoLOD;

// SoGroup pre-callback: a supported group becomes an empty instance pushed on parent_stack.
SoCallbackAction::Response inventorCB_GroupPre(void *data, SoCallbackAction *action, const SoNode *node);
// SoGroup post-callback: pops the group and attaches its instance to the enclosing group's.
SoCallbackAction::Response inventorCB_GroupPost(void *data, SoCallbackAction *action, const SoNode *node);
// SoEnvironment pre-callback: nothing to do, the lights read the environment from the state.
SoCallbackAction::Response inventorCB_EnvironmentPre(void *data, SoCallbackAction *action, const SoNode *node);

// Rewrites the LOD's ranges so that Coin3D traverses the child lod_source chooses.
void ChooseLODChild(SoCallbackAction *action, SoLOD *node);

#endif
