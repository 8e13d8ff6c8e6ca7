// The group hierarchy: the group callbacks the conversion driver registers
// and the level-of-detail choice.
#ifndef SCENE_GROUP_HIERARCHY_H
#define SCENE_GROUP_HIERARCHY_H

#include <Inventor/actions/SoCallbackAction.h>

class SoLOD;

// SoGroup pre-callback: a supported group becomes an empty instance pushed on parent_stack.
SoCallbackAction::Response inventorCB_GroupPre(void *data, SoCallbackAction *action, const SoNode *node);
// SoGroup post-callback: pops the group and attaches its instance to the enclosing group's.
SoCallbackAction::Response inventorCB_GroupPost(void *data, SoCallbackAction *action, const SoNode *node);

// Rewrites the LOD's ranges so that Coin3D traverses the child lod_source chooses.
void ChooseLODChild(SoCallbackAction *action, SoLOD *node);

#endif
