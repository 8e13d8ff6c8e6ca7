// Begin pass of a shape: count, classify the colours, allocate the buffer.
#include <Inventor/actions/SoCallbackAction.h>
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
bool CountTriangles(SoCallbackAction *action, SoNode *node, int32_t &triangles) {
  const ShapeClass shape_class = FindShapeClass(node);
  const std::string problem = FindIndexOutOfRange(action->getState(), node, shape_class);
  if (!problem.empty()) {
    Import_IO_Report_Error(1, ("Shape node with unusable indices (" + problem + "), skipping.").c_str());
    return false;
  }
  if (IsNurbsSurfaceClass(shape_class)) return TessellateSurfaceShape(action, node, triangles);
  triangles = plugin.state->options.count_in_traversal_state == 1
                  ? CountShapeTrianglesInState(action, node, shape_class)
                  : CountShapeTriangles(node, shape_class);
  return true;
}

void SetBufferCounts(ShapeAccumulator &shape, int32_t triangles) {
  const int32_t corners = 3 * triangles;
  shape.triangle_count = triangles;
  shape.triangles_received = 0;
  shape.vertex_index_count = corners;
  shape.vertex_count = corners;
  shape.normal_count = corners;
  shape.texcoord_count = corners;
  shape.data_flags = shape.vertex_color_count ? kPolygonDataWithColors : kPolygonData;
}

IndexedPolygons *AllocateBuffer(const ShapeAccumulator &shape) {
  return Import_IO_Alloc_Indexedpolygons(shape.triangle_count, shape.vertex_index_count, shape.vertex_count,
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
int FailAllocation(int32_t triangles) {
  char message[160];
  std::snprintf(message, sizeof message, "Could not allocate memory for Shape node %ld polygons and %ld vertices.",
                static_cast<long>(triangles), 3L * triangles);
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
  int32_t triangles = 0;
  if (!CountTriangles(action, node, triangles)) {
    ResetShapeState();
    return 0;
  }
  if (triangles <= 0) {
    Import_IO_Report_Error(1, "Zero triangles found in Shape node. Skipping...");
    ResetShapeState();
    return 0;
  }
  if (plugin.state->options.import_materials) ClassifyShapeColors(traversal, triangles);
  GetShapeName(shape.base_name, node);
  // Three corners per triangle must fit the buffer's 32-bit counts.
  if (triangles > INT32_MAX / 3) return FailAllocation(triangles);
  SetBufferCounts(shape, triangles);
  shape.polygons = AllocateBuffer(shape);
  if (!shape.polygons) return FailAllocation(triangles);
  ClearBuffer(shape);
  ShowProgress(triangles);
  return 1;
}
