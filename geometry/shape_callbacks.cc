// Traversal callbacks that bracket each shape node.
#include <Inventor/actions/SoCallbackAction.h>
#include <Inventor/misc/SoState.h>
#include <Inventor/nodes/SoVertexShape.h>

#include "geometry/geometry.h"
#include "geometry/mesh_passes.h"
#include "geometry/shape_classes.h"
#include "geometry/tessellated_surfaces.h"
#include "geometry/triangle_collection.h"
#include "host/import_io.h"
#include "state/state.h"

namespace {

// Coin3D's registration order for the triangle callbacks.
const ShapeClass kTriangleCallbackOrder[kShapeClassCount] = {kShapeCube,
                                                             kShapeCone,
                                                             kShapeCylinder,
                                                             kShapeSphere,
                                                             kShapeIndexedTriangleStripSet,
                                                             kShapeFaceSet,
                                                             kShapeQuadMesh,
                                                             kShapeTriangleStripSet,
                                                             kShapeIndexedFaceSet,
                                                             kShapeNurbsCurve,
                                                             kShapeNurbsSurface,
                                                             kShapeIndexedNurbsCurve,
                                                             kShapeIndexedNurbsSurface,
                                                             kShapeText3};

bool LinesAndPointsWanted() { return plugin.state->options.import_lines_and_points == 1; }

// The shape's class when this run carries it, else kShapeUnsupported;
// *enabled: whether its class is switched on.
ShapeClass CarriedShapeClass(const SoNode *node, bool *enabled) {
  const ShapeClass shape_class = FindShapeClass(node);
  if (shape_class != kShapeUnsupported) {
    *enabled = plugin.state->shape_type_enabled[shape_class] != 0;
    return shape_class;
  }
  *enabled = true;
  return LinesAndPointsWanted() ? FindLineOrPointClass(node) : kShapeUnsupported;
}

}  // namespace

SoCallbackAction::Response inventorCB_VertexShapePre(void *, SoCallbackAction *action, const SoNode *node) {
  plugin.state->shape.in_vertex_shape = 1;
  action->getState()->push();
  // The vertex property's coordinates, normals, colours and binding must be
  // in the state when the shape pre-callback analyses the shape.
  const SoSFNode &property = static_cast<const SoVertexShape *>(node)->vertexProperty;
  property.evaluate();
  if (SoNode *vertex_property = property.getValue()) vertex_property->callback(action);
  return SoCallbackAction::CONTINUE;
}

SoCallbackAction::Response inventorCB_VertexShapePost(void *, SoCallbackAction *action, const SoNode *) {
  plugin.state->shape.in_vertex_shape = 0;
  action->getState()->pop();
  return SoCallbackAction::CONTINUE;
}

SoCallbackAction::Response inventorCB_ShapePre(void *, SoCallbackAction *action, const SoNode *const_node) {
  SoNode *node = const_cast<SoNode *>(const_node);
  bool enabled = false;
  const ShapeClass shape_class = CarriedShapeClass(node, &enabled);
  if (shape_class == kShapeUnsupported) {
    Import_IO_Report_Error(1, "Unsupported shape node encountered, skipping.");
    return SoCallbackAction::PRUNE;
  }
  if (!enabled) return SoCallbackAction::CONTINUE;
  if (!ProcessShape(ShapePass::kBegin, action, node)) return SoCallbackAction::PRUNE;
  if (plugin.state->shape.filled_in_begin) return SoCallbackAction::PRUNE;
  if (IsNurbsSurfaceClass(shape_class)) {
    // Coin3D's NURBS tessellator needs OpenGL: the surface never reaches it.
    DeliverTessellatedTriangles(action);
    return SoCallbackAction::PRUNE;
  }
  return SoCallbackAction::CONTINUE;
}

// Runs after a pruned pre-callback too; the finish pass then finds no buffer.
SoCallbackAction::Response inventorCB_ShapePost(void *, SoCallbackAction *action, const SoNode *node) {
  bool enabled = false;
  if (CarriedShapeClass(node, &enabled) != kShapeUnsupported && enabled) {
    ProcessShape(ShapePass::kFinish, action, const_cast<SoNode *>(node));
  }
  return SoCallbackAction::CONTINUE;
}

void RegisterTriangleCallbacks(SoCallbackAction *action) {
  for (ShapeClass shape_class : kTriangleCallbackOrder) {
    if (!plugin.state->shape_type_enabled[shape_class] || IsNurbsSurfaceClass(shape_class)) continue;
    action->addTriangleCallback(ShapeClassType(shape_class), inventorCB_TrianglePrimitive, nullptr);
  }
  if (!LinesAndPointsWanted()) return;
  for (ShapeClass shape_class : {kShapeLineSet, kShapeIndexedLineSet}) {
    action->addLineSegmentCallback(ShapeClassType(shape_class), inventorCB_LineSegmentPrimitive, nullptr);
  }
  action->addPointCallback(ShapeClassType(kShapePointSet), inventorCB_PointPrimitive, nullptr);
}
