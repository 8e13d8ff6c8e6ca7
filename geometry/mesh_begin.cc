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

// False (reported here) when the shape's indices are unusable.
bool IndicesUsable(SoCallbackAction *action, SoNode *node, ShapeClass shape_class) {
  const std::string problem = FindIndexOutOfRange(action->getState(), node, shape_class);
  if (problem.empty()) return true;
  Import_IO_Report_Error(1, ("Shape node with unusable indices (" + problem + "), skipping.").c_str());
  return false;
}

// False when our own NURBS tessellation failed (reported there).
bool CountTriangles(SoCallbackAction *action, SoNode *node, ShapeClass shape_class, int32_t &triangles) {
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

// Sizes and clears the buffer for the counted triangles; announces it
// unless the caller does once it is sure of the count.
int PrepareBuffer(SoState *traversal, SoNode *node, ShapeClass shape_class, int32_t triangles, bool announce) {
  ShapeAccumulator &shape = plugin.state->shape;
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
  if (announce) ShowProgress(triangles);
  return 1;
}

int BeginCountedShape(SoCallbackAction *action, SoNode *node, ShapeClass shape_class) {
  int32_t triangles = 0;
  if (!CountTriangles(action, node, shape_class, triangles)) {
    ResetShapeState();
    return 0;
  }
  return PrepareBuffer(action->getState(), node, shape_class, triangles, true);
}

// Under the count_in_traversal_state token, a shape whose count can be
// told without tessellating it (a vertex shape's by its own node, an index
// scan, as no Complexity reaches it; a primitive's as PredictPrimitive-
// Triangles says) has that count size the buffer, and the shape is
// tessellated once, here, instead of once to count and once to fill. When
// Coin3D delivers another number of triangles than its count (it skips
// faces, or stops at a colour index past the end), the buffer is given
// back and the traversal fills one sized to what was delivered: the count
// in the traversal's state, for the cost of the pass it replaces. The
// trial is silent towards the host, so a shape with per-face surfaces
// (defined while its buffer fills) is counted first as before. 0 for a
// shape that is counted first.
int32_t FillCount(SoState *traversal, SoNode *node, ShapeClass shape_class) {
  ShapeAccumulator &shape = plugin.state->shape;
  if (plugin.state->options.count_in_traversal_state != 1 || shape.corners != 3 ||
      shape.outline != ShapeOutline::kNone || IsNurbsSurfaceClass(shape_class))
    return 0;
  const bool vertex_shape = shape.in_vertex_shape == 1;
  const int32_t predicted = vertex_shape ? 0 : PredictPrimitiveTriangles(traversal, node, shape_class);
  if (!vertex_shape && predicted <= 0) return 0;
  // Whether surfaces go per face depends on the traversal's state only;
  // the buffer's preparation classifies again, with the corner count.
  if (plugin.state->options.import_materials) ClassifyShapeColors(traversal, 0);
  if (shape.per_face_materials) return 0;
  const int32_t count = vertex_shape ? CountShapeTriangles(node, shape_class) : predicted;
  return count > 0 && count <= INT32_MAX / 3 ? count : 0;
}

// Back to the state the begin pass started from, the buffer given back.
void DropTrialBuffer() {
  ShapeAccumulator &shape = plugin.state->shape;
  Import_IO_Free_Indexedpolygons();
  const auto clockwise = shape.clockwise;
  const auto in_vertex_shape = shape.in_vertex_shape;
  ResetShapeState();
  shape.in_vertex_shape = in_vertex_shape;
  shape.clockwise = clockwise;
}

int BeginFilledShape(SoCallbackAction *action, SoNode *node, ShapeClass shape_class, int32_t counted) {
  ShapeAccumulator &shape = plugin.state->shape;
  if (!PrepareBuffer(action->getState(), node, shape_class, counted, false)) return 0;
  shape.trial_fill = 1;
  node->callback(action);
  shape.trial_fill = 0;
  const int32_t delivered = shape.triangles_received;
  if (delivered != counted) {
    DropTrialBuffer();
    return PrepareBuffer(action->getState(), node, shape_class, delivered, true);
  }
  ShowProgress(counted);
  shape.filled_in_begin = 1;
  return 1;
}

}  // namespace

int BeginShapePass(SoCallbackAction *action, SoNode *node) {
  ShapeAccumulator &shape = plugin.state->shape;
  SoState *traversal = action->getState();
  shape.clockwise =
      shape.in_vertex_shape && SoShapeHintsElement::getVertexOrdering(traversal) == SoShapeHintsElement::CLOCKWISE;
  ShapeClass shape_class = FindShapeClass(node);
  SetPrimitiveKind(traversal, node, &shape_class);
  if (!IndicesUsable(action, node, shape_class)) {
    ResetShapeState();
    return 0;
  }
  if (const int32_t counted = FillCount(traversal, node, shape_class); counted > 0)
    return BeginFilledShape(action, node, shape_class, counted);
  return BeginCountedShape(action, node, shape_class);
}
