#include "geometry/triangle_count.h"

#include <algorithm>

#include "geometry/geometry.h"
#include "state/state.h"

#include <Inventor/actions/SoCallbackAction.h>
#include <Inventor/actions/SoGetPrimitiveCountAction.h>
#include <Inventor/elements/SoComplexityElement.h>
#include <Inventor/elements/SoComplexityTypeElement.h>
#include <Inventor/nodes/SoText3.h>

namespace {

void CountTriangle(void *count, SoCallbackAction *, const SoPrimitiveVertex *, const SoPrimitiveVertex *,
                   const SoPrimitiveVertex *) {
  ++*static_cast<int32_t *>(count);
}

// SoGetPrimitiveCountAction gives 0 for 3D text (its font state is not set
// up there), so the text is tessellated once just to count.
int32_t CountText3Triangles(SoNode *node) {
  int32_t count = 0;
  SoCallbackAction pass;
  pass.addTriangleCallback(SoText3::getClassTypeId(), CountTriangle, &count);
  pass.apply(node);
  return count;
}

// What Coin3D's sphere delivers at an object-space complexity: slices and
// stacks of 30 x complexity, at least 4 slices and 3 stacks. Its own
// primitive count (2 x 30 x 29 x complexity: 870 where a default sphere
// delivers 390) is another number. Measured from 0 to 4.2 (Coin3D does
// not stop at 1); from about 4.3 on it caps the slices and stacks, so
// above 4 the sphere is counted.
int32_t SphereTriangles(float complexity) {
  if (!(complexity <= 4.0f)) return 0;
  complexity = std::max(complexity, 0.0f);
  const int32_t n = static_cast<int32_t>(30.0f * complexity);
  const int32_t slices = std::max(n, 4), stacks = std::max(n, 3);
  return slices * (2 * stacks - 4);
}

}  // namespace

uint64_t CountShapeNodeTriangles(SoNode *shape) {
  const ShapeClass shape_class = FindShapeClass(shape);
  if (shape_class == kShapeUnsupported || IsNurbsSurfaceClass(shape_class)) return 0;
  const int32_t triangles = CountShapeTriangles(shape, shape_class);
  return triangles > 0 ? static_cast<uint64_t>(triangles) : 0;
}

int32_t CountShapeTrianglesInState(SoCallbackAction *action, SoNode *node, ShapeClass shape_class) {
  if (shape_class == kShapeNurbsCurve || shape_class == kShapeIndexedNurbsCurve) return 0;
  ShapeAccumulator &shape = plugin.state->shape;
  shape.triangles_received = 0;
  shape.counting_in_state = 1;
  node->callback(action);
  shape.counting_in_state = 0;
  const int32_t counted = shape.triangles_received;
  shape.triangles_received = 0;
  return counted;
}

namespace {

int32_t CountAlone(SoNode *node, ShapeClass shape_class, SoGetPrimitiveCountAction &count) {
  switch (shape_class) {
    case kShapeText3:
      return CountText3Triangles(node);
    case kShapeNurbsCurve:
    case kShapeIndexedNurbsCurve:
      // Curves have no triangles; Coin3D's counter would reach its NURBS
      // code, which crashes without an OpenGL context.
      return 0;
    default:
      count.apply(node);
      return count.getTriangleCount();
  }
}

}  // namespace

// Each node is counted once per run: the scene's survey counts every shape
// node before the traversal, which asks again for each use of the node
// (a count is an action of its own, with a traversal state of its own).
int32_t CountShapeTriangles(SoNode *node, ShapeClass shape_class) {
  InventorState *state = plugin.state;
  if (!state) {
    SoGetPrimitiveCountAction count;
    return CountAlone(node, shape_class, count);
  }
  auto [entry, added] = state->counted_alone.try_emplace(node, InventorState::CountedShape{shape_class, 0});
  if (added || entry->second.shape_class != shape_class) {
    if (!state->count_action) state->count_action.reset(new SoGetPrimitiveCountAction);
    entry->second = {shape_class, CountAlone(node, shape_class, *state->count_action)};
  }
  return entry->second.triangles;
}

void InventorState::CountActionDeleter::operator()(SoGetPrimitiveCountAction *action) const { delete action; }

int32_t PredictPrimitiveTriangles(SoState *traversal, SoNode *node, ShapeClass shape_class) {
  if (SoComplexityTypeElement::get(traversal) != SoComplexityTypeElement::OBJECT_SPACE) return 0;
  const float complexity = SoComplexityElement::get(traversal);
  if (shape_class == kShapeSphere) return SphereTriangles(complexity);
  const bool counted_alike = shape_class == kShapeCube || shape_class == kShapeCone || shape_class == kShapeCylinder;
  if (!counted_alike || complexity != SoComplexityElement::getDefault()) return 0;
  return CountShapeTriangles(node, shape_class);
}
