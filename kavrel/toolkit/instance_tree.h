// Changes to the instance hierarchy that several calls share.
#ifndef KAVREL_TOOLKIT_INSTANCE_TREE_H
#define KAVREL_TOOLKIT_INSTANCE_TREE_H

#include <string>

#include "kavrel/toolkit/scene.h"

namespace kavrel {

constexpr int32_t kWorld = 0;  // the index of "world"

// A new instance attached below "world", as a host adds it.
int32_t AddInstance(Scene &scene, const std::string &name);

// Moves child below parent (at the end of its children). False when that
// would make child its own ancestor.
bool AttachInstance(Scene &scene, int32_t child, int32_t parent);

// Takes the instance out of its parent's children.
void DetachInstance(Scene &scene, int32_t instance);

// Removes the instance and everything below it: tombstones, names freed.
void RemoveInstanceTree(Scene &scene, int32_t instance);

// Tombstones one instance whose children were already moved or removed.
void TombstoneInstance(Scene &scene, int32_t instance);

}  // namespace kavrel

#endif
