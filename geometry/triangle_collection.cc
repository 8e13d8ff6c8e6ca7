// The triangle callback: stores each triangle Coin3D tessellates into the
// slots of the shape's preallocated buffer. Nothing here allocates.
#include <Inventor/SoPrimitiveVertex.h>
#include <Inventor/actions/SoCallbackAction.h>
#include <Inventor/elements/SoTextureMatrixElement.h>

#include "geometry/triangle_collection.h"
#include "host/kv_toolkit.h"
#include "materials/materials.h"
#include "state/state.h"

namespace {

void StoreVec3(float *array, int32_t slot, const SbVec3f &value) {
  float *out = array + 3 * static_cast<size_t>(slot);
  out[0] = value[0];
  out[1] = value[1];
  out[2] = value[2];
}

void StoreCorner(const ShapeAccumulator &shape, SoState *traversal, const SbMatrix &texture_matrix,
                 const SoPrimitiveVertex *corner, int32_t slot) {
  IndexedPolygons *polygons = shape.polygons;
  StoreVec3(polygons->positions, slot, corner->getPoint());
  if (shape.normal_count) StoreVec3(polygons->normals, slot, corner->getNormal());
  if (shape.texcoord_count) {
    const SbVec4f &st = corner->getTextureCoords();
    SbVec3f uv;
    texture_matrix.multVecMatrix(SbVec3f(st[0], st[1], 0), uv);
    uv[2] = 0;
    StoreVec3(polygons->texcoords, slot, uv);
  }
  if (shape.vertex_color_count) {
    const int index = corner->getMaterialIndex();
    GetVertexColor(index, slot, polygons->colors, shape.colors_from_emissive, traversal);
    if (index < 0 || index >= shape.material_color_count) plugin.state->shape.colors_past_end = 1;
  }
}

void StoreTriangle(SoCallbackAction *action, const SoPrimitiveVertex *const corners[3], int32_t triangle) {
  const ShapeAccumulator &shape = plugin.state->shape;
  SoState *traversal = action->getState();
  const SbMatrix &texture_matrix = SoTextureMatrixElement::get(traversal);
  for (int32_t k = 0; k < 3; ++k) StoreCorner(shape, traversal, texture_matrix, corners[k], 3 * triangle + k);
  if (!shape.vertex_color_count && shape.per_face_materials && plugin.state->options.import_materials) {
    AssignFaceSurface(corners[0]->getMaterialIndex(), traversal);
  }
}

void ReportTriangleOverflow() {
  Kv_Report_Error_printf(
      6,
      "iv2kv::inventorCB_TrianglePrimitive():: the pre-calculated number of polygons for a primitive has been "
      "exceeded. This is a bug in the COIN Inventor library. As a fix to a known bug, if there is a \"Complexity\" "
      "statement in the .iv file then please remove it -- it has been known to cause incorrect computation of the "
      "number of triangles in a 'sphere' primitive.\n");
}

}  // namespace

void inventorCB_TrianglePrimitive(void *, SoCallbackAction *action, const SoPrimitiveVertex *v1,
                                  const SoPrimitiveVertex *v2, const SoPrimitiveVertex *v3) {
  ShapeAccumulator &shape = plugin.state->shape;
  if (!shape.polygons) {
    shape.triangles_received += shape.counting_in_state && shape.triangles_received < INT32_MAX;
    return;
  }
  const int32_t triangle = shape.triangles_received;
  if (triangle < shape.triangle_count) {
    const SoPrimitiveVertex *const corners[3] = {v1, v2, v3};
    StoreTriangle(action, corners, triangle);
  } else if (triangle == shape.triangle_count) {
    // Once per shape; the surplus is dropped.
    ReportTriangleOverflow();
  }
  shape.triangles_received = triangle + 1;
}
