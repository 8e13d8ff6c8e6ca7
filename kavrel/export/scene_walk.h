// Reading the scene database the way every exporter does: which table
// entries still exist, and the instance hierarchy below "world".
#ifndef KAVREL_EXPORT_SCENE_WALK_H
#define KAVREL_EXPORT_SCENE_WALK_H

#include <cstdint>
#include <vector>

#include "kavrel/toolkit/scene.h"

namespace kavrel {

// False for a slot whose entity was erased (NamedTable keeps the slot but
// its name leads elsewhere or nowhere) or for an index out of range.
template <typename T, typename Items>
bool IsLive(const NamedTable<T, Items> &table, int32_t i) {
  return i >= 0 && i < static_cast<int32_t>(table.items.size()) && table.find_index(table.items[i].name) == i;
}

// IsLive for every slot of the table, in one pass over its names.
template <typename T, typename Items>
std::vector<uint8_t> LiveSlots(const NamedTable<T, Items> &table) {
  std::vector<uint8_t> live(table.items.size(), 0);
  for (const auto &[name, i] : table.index)
    if (i >= 0 && i < static_cast<int32_t>(table.items.size()) && table.items[i].name == name) live[i] = 1;
  return live;
}

struct HierarchyEntry {
  int32_t instance;                            // index into Scene::instances
  int32_t parent;                              // index of the parent's entry in the walk; kNone below "world"
};

// The live instances below "world" in depth-first pre-order, children in
// attach order. A removed instance hides its subtree; an instance reached a
// second time (a broken child list) is skipped.
std::vector<HierarchyEntry> WalkHierarchy(const Scene &scene);

}  // namespace kavrel

#endif
