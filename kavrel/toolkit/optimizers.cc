// The hierarchy optimisers.
//
// Both walk the instances below a root once, children before parents, so
// each runs in time linear in the instances it visits:
//
// Kv_OptimizeHierarchy removes empty leaves: an instance that places no
// object and, once its own children were looked at, has no children left
// is removed. A group of empty groups therefore disappears in the same
// pass, and so does the root itself when nothing below it holds geometry.
// "removed" counts the instances removed; "merged" is 0.
//
// Kv_OptimizeHierarchy2 folds chains: an instance with an identity matrix,
// no object, no linked surface, not hidden and exactly one child adds
// nothing to that child, so the child takes its place in the parent (with
// its own name and matrix) and the instance is removed. A chain of such
// instances folds down to its last member. "merged" counts the instances
// folded away; "removed" is 0.
//
// "world" is never removed or folded; any other root, such as the root
// instance of an import, may be.
#include <vector>

#include "host/kv_toolkit.h"
#include "kavrel/toolkit/call_recorder.h"
#include "kavrel/toolkit/instance_tree.h"

namespace kavrel {
namespace {

// What an instance becomes once its subtree was optimised: itself, the
// instance that replaces it, or kNone when it was removed.
using Finisher = int32_t (*)(Scene &scene, int32_t instance);

int32_t RemoveIfEmptyLeaf(Scene &scene, int32_t index) {
  const Instance &instance = scene.instances.items[index];
  if (index == kWorld || instance.object != kNone || !instance.children.empty()) return index;
  TombstoneInstance(scene, index);
  return kNone;
}

int32_t FoldIfPassThrough(Scene &scene, int32_t index) {
  const Instance &instance = scene.instances.items[index];
  bool pass_through = index != kWorld && instance.object == kNone && instance.surface.empty() &&
                      !instance.hidden && instance.children.size() == 1 && instance.matrix == IdentityMatrix();
  if (!pass_through) return index;
  int32_t child = instance.children[0];
  scene.instances.items[child].parent = instance.parent;
  TombstoneInstance(scene, index);
  return child;
}

// Post-order walk from root with an explicit stack (hierarchies can be
// deep). Each parent rewrites its children list from what its children
// became; answers what the root became.
int32_t OptimiseBelow(Scene &scene, int32_t root, Finisher finish) {
  struct Frame {
    int32_t instance;
    size_t next_child;
    std::vector<int32_t> kept;  // what the children visited so far became
  };
  std::vector<Frame> stack;
  stack.push_back({root, 0, {}});
  int32_t root_result = root;
  while (!stack.empty()) {
    Frame &frame = stack.back();
    const auto &children = scene.instances.items[frame.instance].children;
    if (frame.next_child < children.size()) {
      int32_t child = children[frame.next_child++];
      stack.push_back({child, 0, {}});
      continue;
    }
    scene.instances.items[frame.instance].children = std::move(frame.kept);
    int32_t result = finish(scene, frame.instance);
    stack.pop_back();
    if (stack.empty()) {
      root_result = result;
    } else if (result != kNone) {
      stack.back().kept.push_back(result);
    }
  }
  return root_result;
}

// Runs an optimiser from the named root and puts what the root became
// into the root's parent; answers how many instances it took away.
int32_t Optimise(CallRecorder &call, const char *root_name, Finisher finish) {
  int32_t root = FindInstance(call, root_name);
  if (root == kNone) return 0;
  Scene &db = call.host().scene();
  int32_t parent = db.instances.items[root].parent;
  size_t before = db.instances.index.size();
  int32_t result = OptimiseBelow(db, root, finish);
  if (parent != kNone && result != root) {
    auto &siblings = db.instances.items[parent].children;
    for (size_t i = 0; i < siblings.size(); ++i) {
      if (siblings[i] != root) continue;
      if (result == kNone) siblings.erase(siblings.begin() + static_cast<long>(i));
      else siblings[i] = result;
      break;
    }
  }
  return static_cast<int32_t>(before - db.instances.index.size());
}

int RunOptimiser(Host &host, const char *call_name, const char *root, int32_t *removed, int32_t *merged,
                 Finisher finish, bool counts_removed) {
  CallRecorder call(host, call_name);
  bool usable = call.text(root, "root instance name");
  usable = call.pointer(removed, "removed count") && usable;
  usable = call.pointer(merged, "merged count") && usable;
  if (!usable) return call.finish();
  int32_t count = Optimise(call, root, finish);
  *removed = counts_removed ? count : 0;
  *merged = counts_removed ? 0 : count;
  return call.finish();
}

}  // namespace
}  // namespace kavrel

extern "C" int Kv_OptimizeHierarchy(const char *root, int32_t *removed, int32_t *merged) {
  return kavrel::RunOptimiser(kavrel::CurrentHost(), "Kv_OptimizeHierarchy", root, removed, merged,
                              kavrel::RemoveIfEmptyLeaf, true);
}

extern "C" int Kv_OptimizeHierarchy2(const char *root, int32_t *removed, int32_t *merged) {
  return kavrel::RunOptimiser(kavrel::CurrentHost(), "Kv_OptimizeHierarchy2", root, removed, merged,
                              kavrel::FoldIfPassThrough, false);
}
