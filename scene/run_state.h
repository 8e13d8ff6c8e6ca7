// Preparing the state record for a run.
#ifndef SCENE_RUN_STATE_H
#define SCENE_RUN_STATE_H

class SoInput;
class SoNode;

// File name, input, shape-class flags, list heads and counters for a new traversal.
void ResetRunState(const char *path, SoNode *root, SoInput *input);

#endif
