#include "kavrel/toolkit/instance_tree.h"

#include <algorithm>

namespace kavrel {

int32_t AddInstance(Scene &scene, const std::string &name) {
  scene.instances.get_or_add(name);
  int32_t index = scene.instances.find_index(name);
  scene.instances.items[index].parent = kWorld;
  scene.instances.items[kWorld].children.push_back(index);
  return index;
}

bool AttachInstance(Scene &scene, int32_t child, int32_t parent) {
  auto &items = scene.instances.items;
  for (int32_t at = parent; at != kNone; at = items[at].parent) {
    if (at == child) return false;
  }
  DetachInstance(scene, child);
  items[child].parent = parent;
  items[parent].children.push_back(child);
  return true;
}

void DetachInstance(Scene &scene, int32_t instance) {
  auto &items = scene.instances.items;
  int32_t parent = items[instance].parent;
  if (parent == kNone) return;
  auto &siblings = items[parent].children;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), instance), siblings.end());
  items[instance].parent = kNone;
}

void TombstoneInstance(Scene &scene, int32_t instance) {
  Instance &item = scene.instances.items[instance];
  scene.instances.erase(item.name);
  item.removed = true;
  item.parent = kNone;
  item.children.clear();
}

void RemoveInstanceTree(Scene &scene, int32_t instance) {
  DetachInstance(scene, instance);
  std::vector<int32_t> pending{instance};
  while (!pending.empty()) {
    int32_t at = pending.back();
    pending.pop_back();
    const auto &children = scene.instances.items[at].children;
    pending.insert(pending.end(), children.begin(), children.end());
    TombstoneInstance(scene, at);
  }
}

}  // namespace kavrel
