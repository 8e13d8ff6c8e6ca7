// The refusals that keep a file from crashing or swamping the conversion,
// made before Coin3D reads it and before the traversal starts. Each throws
// InventorInputRefused with one message; nothing has reached the host yet.
#ifndef SCENE_INPUT_LIMITS_H
#define SCENE_INPUT_LIMITS_H

class GuardedInput;
class SoNode;
struct ImportOptions;

// Names or nesting Coin3D's reader cannot survive (scene/input_prescan.h).
void RefuseUnreadableInput(const char *path);

// A read the input stopped (nesting past the stack, an overlong name, an
// include of a file inside itself) or that lost an include to a read error;
// reports includes that were not found.
void RefuseStoppedRead(const GuardedInput &input);

// DEF/USE cycles, nesting past kMaxNestingDepth, and more shape instances or
// triangles than the max_triangles token allows (0: no limit).
void RefuseUntraversableGraph(SoNode *root, const ImportOptions &options);

#endif
