#include "scene/graph_survey.h"

#include <Inventor/misc/SoChildList.h>
#include <Inventor/nodes/SoLOD.h>
#include <Inventor/nodes/SoLevelOfDetail.h>
#include <Inventor/nodes/SoShape.h>
#include <Inventor/nodes/SoSwitch.h>

#include <algorithm>
#include <limits>
#include <unordered_map>
#include <vector>

namespace {

uint64_t SaturatingAdd(uint64_t a, uint64_t b) {
  return a > std::numeric_limits<uint64_t>::max() - b ? std::numeric_limits<uint64_t>::max() : a + b;
}

// What one node contributes wherever it is used.
struct Totals {
  bool done = false;       // false while the node is on the walk's stack
  uint64_t depth = 0;
  uint64_t instances = 0;
  uint64_t triangles = 0;
};

// How a group's children add up: all of them, only one, or the largest.
enum class Combine { kAll, kOne, kLargest };

Combine CombineOf(const SoNode *node, int *chosen) {
  if (node->isOfType(SoSwitch::getClassTypeId())) {
    *chosen = static_cast<const SoSwitch *>(node)->whichChild.getValue();
    // SO_SWITCH_ALL and an inherited choice may take every child.
    return *chosen >= 0 || *chosen == SO_SWITCH_NONE ? Combine::kOne : Combine::kAll;
  }
  if (node->isOfType(SoLOD::getClassTypeId()) || node->isOfType(SoLevelOfDetail::getClassTypeId()))
    return Combine::kLargest;
  return Combine::kAll;
}

// The child's shapes as the traversal takes them; its depth counts either
// way (Coin3D holds and reads an unchosen child too).
void AddChild(Totals &parent, const Totals &child, Combine combine, bool taken) {
  parent.depth = std::max(parent.depth, SaturatingAdd(child.depth, 1));
  if (!taken) return;
  if (combine == Combine::kLargest) {
    parent.instances = std::max(parent.instances, child.instances);
    parent.triangles = std::max(parent.triangles, child.triangles);
  } else {
    parent.instances = SaturatingAdd(parent.instances, child.instances);
    parent.triangles = SaturatingAdd(parent.triangles, child.triangles);
  }
}

struct Frame {
  SoNode *node;
  int next_child;  // index of the next child to visit
};

class Survey {
 public:
  explicit Survey(ShapeTriangleCount count) : count_(count) {}

  GraphSurvey Run(SoNode *root) {
    GraphSurvey result;
    if (!Enter(root)) return result;
    while (!stack_.empty() && !result.cycle) result.cycle = Step();
    if (result.cycle) return result;
    const Totals &top = totals_[root];
    result.depth = top.depth;
    result.shape_instances = top.instances;
    result.triangles = top.triangles;
    return result;
  }

 private:
  // Starts a node not seen before; false when it was already finished.
  bool Enter(SoNode *node) {
    auto [entry, fresh] = totals_.try_emplace(node);
    if (!fresh) return false;
    Totals &totals = entry->second;
    totals.depth = 1;
    if (node->isOfType(SoShape::getClassTypeId())) {
      totals.instances = 1;
      totals.triangles = count_(node);
    }
    stack_.push_back({node, 0});
    return true;
  }

  // Visits the next child of the top frame, or finishes it; the node found
  // inside itself, else null.
  const SoNode *Step() {
    Frame &frame = stack_.back();
    const SoChildList *children = frame.node->getChildren();
    if (!children || frame.next_child >= children->getLength()) {
      Finish(frame.node);
      return nullptr;
    }
    SoNode *child = (*children)[frame.next_child++];
    auto found = totals_.find(child);
    if (found == totals_.end()) {
      Enter(child);
      return nullptr;
    }
    return found->second.done ? nullptr : child;
  }

  void Finish(SoNode *node) {
    stack_.pop_back();
    Totals &totals = totals_[node];
    const SoChildList *children = node->getChildren();
    int chosen = 0;
    const Combine combine = CombineOf(node, &chosen);
    for (int i = 0; children && i < children->getLength(); ++i) {
      AddChild(totals, totals_[(*children)[i]], combine, combine != Combine::kOne || i == chosen);
    }
    totals.done = true;
  }

  ShapeTriangleCount count_;
  std::unordered_map<SoNode *, Totals> totals_;
  std::vector<Frame> stack_;
};

}  // namespace

GraphSurvey SurveySceneGraph(SoNode *root, ShapeTriangleCount count) { return Survey(count).Run(root); }
