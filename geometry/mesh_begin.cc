// Begin pass of a shape: count, classify the colours, allocate the buffer.
#include <Inventor/actions/SoCallbackAction.h>
#include <Inventor/elements/SoDrawStyleElement.h>
#include <Inventor/elements/SoShapeHintsElement.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include "geometry/mesh_passes.h"
#include "geometry/shape_classes.h"
#include "geometry/shape_colors.h"
#include "geometry/shape_index_check.h"
#include "geometry/tessellated_surfaces.h"
#include "geometry/triangle_count.h"
#include "host/import_io.h"
#include "state/state.h"

namespace {

// False when the shape is refused (reported here) or our own NURBS
// tessellation failed (reported there).
bool CountTriangles(SoCallbackAction *action, SoNode *node, ShapeClass shape_class, int32_t &triangles) {
  const std::string problem = FindIndexOutOfRange(action->getState(), node, shape_class);
  if (!problem.empty()) {
    Import_IO_Report_Error(1, ("Shape node with unusable indices (" + problem + "), skipping.").c_str());
    return false;
  }
  if (IsNurbsSurfaceClass(shape_class)) return TessellateSurfaceShape(action, node, triangles);
  triangles = plugin.state->options.count_in_traversal_state == 1 || CornersOf(shape_class) < 3
                  ? CountShapeTrianglesInState(action, node, shape_class)
                  : CountShapeTriangles(node, shape_class);
  return true;
}

// With the import_lines_and_points token, the primitives a line or point
// set delivers, and what a face shape's draw style shows of it.
void SetPrimitiveKind(SoState *traversal, SoNode *node, ShapeClass *shape_class) {
  ShapeAccumulator &shape = plugin.state->shape;
  if (plugin.state->options.import_lines_and_points != 1) return;
  if (*shape_class == kShapeUnsupported) *shape_class = FindLineOrPointClass(node);
  shape.corners = CornersOf(*shape_class);
  if (shape.corners < 3 || *shape_class == kShapeNurbsCurve || *shape_class == kShapeIndexedNurbsCurve) return;
  const SoDrawStyleElement::Style style = SoDrawStyleElement::get(traversal);
  if (style == SoDrawStyleElement::LINES) shape.outline = ShapeOutline::kLines;
  if (style == SoDrawStyleElement::POINTS) shape.outline = ShapeOutline::kPoints;
}

// Index slots a primitive may need: its corners, or for an outline of
// lines two for each of a triangle's three edges.
int32_t IndexSlotsPerPrimitive(const ShapeAccumulator &shape) {
  return shape.outline == ShapeOutline::kLines ? 6 : shape.corners;
}

void SetBufferCounts(ShapeAccumulator &shape, int32_t triangles) {
  const int32_t corners = shape.corners * triangles;
  shape.triangle_count = triangles;
  shape.triangles_received = 0;
  shape.vertex_index_count = IndexSlotsPerPrimitive(shape) * triangles;
  shape.vertex_count = corners;
  shape.normal_count = corners;
  shape.texcoord_count = corners;
  shape.data_flags = shape.vertex_color_count ? kPolygonDataWithColors : kPolygonData;
}

// An outline has up to three edges or corners per triangle.
IndexedPolygons *AllocateBuffer(const ShapeAccumulator &shape) {
  const int32_t polygons = shape.outline == ShapeOutline::kNone ? shape.triangle_count : 3 * shape.triangle_count;
  return Import_IO_Alloc_Indexedpolygons(polygons, shape.vertex_index_count, shape.vertex_count,
                                         shape.normal_count, shape.vertex_color_count, shape.texcoord_count, 0, 0, 0, 1,
                                         shape.clockwise, shape.data_flags, shape.per_face_materials);
}

// Slots that Coin3D leaves unfilled (it may deliver fewer triangles than
// counted) stay degenerate triangles at the origin.
void ClearBuffer(const ShapeAccumulator &shape) {
  IndexedPolygons *polygons = shape.polygons;
  const size_t floats = 3 * static_cast<size_t>(shape.vertex_count);
  std::memset(polygons->positions, 0, floats * sizeof(float));
  std::memset(polygons->normals, 0, floats * sizeof(float));
  std::memset(polygons->texcoords, 0, floats * sizeof(float));
  if (shape.vertex_color_count) std::memset(polygons->colors, 0, floats * sizeof(float));
}

// Fatal: the report ends the run through the error hook.
int FailAllocation(int32_t triangles, int32_t corners) {
  char message[160];
  std::snprintf(message, sizeof message, "Could not allocate memory for Shape node %ld polygons and %ld vertices.",
                static_cast<long>(triangles), static_cast<long>(corners) * triangles);
  Import_IO_Report_Error(5, message);
  ResetShapeState();
  return 0;
}

void ShowProgress(int32_t triangles) {
  char message[96];
  std::snprintf(message, sizeof message, "Processing %ld polygon Shape node.", static_cast<long>(triangles));
  Import_IO_Display_Info_Text(message);
}

}  // namespace

int BeginShapePass(SoCallbackAction *action, SoNode *node) {
  ShapeAccumulator &shape = plugin.state->shape;
  SoState *traversal = action->getState();
  shape.clockwise =
      shape.in_vertex_shape && SoShapeHintsElement::getVertexOrdering(traversal) == SoShapeHintsElement::CLOCKWISE;
  ShapeClass shape_class = FindShapeClass(node);
  SetPrimitiveKind(traversal, node, &shape_class);
  int32_t triangles = 0;
  if (!CountTriangles(action, node, shape_class, triangles)) {
    ResetShapeState();
    return 0;
  }
  if (triangles <= 0) {
    Import_IO_Report_Error(1, shape.corners < 3 ? "Zero line segments or points found in Shape node. Skipping..."
                                                : "Zero triangles found in Shape node. Skipping...");
    ResetShapeState();
    return 0;
  }
  // Every corner (and index slot) must fit the buffer's 32-bit counts.
  if (triangles > INT32_MAX / IndexSlotsPerPrimitive(shape)) return FailAllocation(triangles, shape.corners);
  if (plugin.state->options.import_materials) ClassifyShapeColors(traversal, shape.corners * triangles);
  NodeBaseName(shape.base_name, node, ShapeClassWord(shape_class));
  SetBufferCounts(shape, triangles);
  shape.polygons = AllocateBuffer(shape);
  if (!shape.polygons) return FailAllocation(triangles, shape.corners);
  if (shape.outline != ShapeOutline::kNone) shape.triangle_faces.assign(static_cast<size_t>(triangles), 0);
  ClearBuffer(shape);
  ShowProgress(triangles);
  return 1;
}
