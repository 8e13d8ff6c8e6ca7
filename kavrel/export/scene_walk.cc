#include "kavrel/export/scene_walk.h"

#include <utility>

namespace kavrel {

std::vector<HierarchyEntry> WalkHierarchy(const Scene &scene) {
  std::vector<HierarchyEntry> walk;
  const int32_t world = scene.instances.find_index("world");
  if (world == kNone) return walk;
  const std::vector<uint8_t> live = LiveSlots(scene.instances);
  std::vector<bool> seen(scene.instances.items.size(), false);
  seen[world] = true;
  // (instance, parent entry) pairs still to visit; children are pushed in
  // reverse so that they come off in attach order.
  std::vector<std::pair<int32_t, int32_t>> pending;
  auto push_children = [&](int32_t instance, int32_t entry) {
    const std::vector<int32_t> &children = scene.instances.items[instance].children;
    for (auto it = children.rbegin(); it != children.rend(); ++it) pending.emplace_back(*it, entry);
  };
  push_children(world, kNone);
  while (!pending.empty()) {
    auto [instance, parent] = pending.back();
    pending.pop_back();
    if (instance < 0 || instance >= static_cast<int32_t>(live.size()) || !live[instance] || seen[instance] || scene.instances.items[instance].removed) continue;
    seen[instance] = true;
    walk.push_back({instance, parent});
    push_children(instance, static_cast<int32_t>(walk.size()) - 1);
  }
  return walk;
}

}  // namespace kavrel
