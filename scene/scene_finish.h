// What the driver does after the traversal: default camera, the host's
// ambient light, the Y-up turn, statistics and the hierarchy optimisers.
#ifndef SCENE_SCENE_FINISH_H
#define SCENE_SCENE_FINISH_H

void FinishImportedScene();

// The object-count optimisation: gathers the meshes below the named root into fewer objects.
void MoveRootChildrenToNewObjects(const char *name);

#endif
