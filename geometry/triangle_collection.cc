// The triangle callback: stores each triangle Coin3D tessellates into the
// slots of the shape's preallocated buffer; the line segment and point
// callbacks do the same for line and point sets. Nothing here allocates.
#include <cstdint>

#include <Inventor/SoPrimitiveVertex.h>
#include <Inventor/actions/SoCallbackAction.h>
#include <Inventor/details/SoFaceDetail.h>
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

// The face (and part) a triangle was tessellated from; a triangle without
// a face detail is a face of its own.
uint64_t FaceKey(const SoPrimitiveVertex *corner, int32_t triangle) {
  const SoDetail *detail = corner->getDetail();
  if (!detail || !detail->isOfType(SoFaceDetail::getClassTypeId())) return uint64_t{1} << 63 | uint32_t(triangle);
  const SoFaceDetail *face = static_cast<const SoFaceDetail *>(detail);
  return uint64_t(uint32_t(face->getPartIndex())) << 32 | uint32_t(face->getFaceIndex());
}

// No state changes while one shape delivers its primitives: its texture
// matrix is read once, not looked up for every triangle.
const SbMatrix &TextureMatrix(ShapeAccumulator &shape, SoState *traversal) {
  if (!shape.texture_matrix_known) {
    shape.texture_matrix = SoTextureMatrixElement::get(traversal);
    shape.texture_matrix_known = 1;
  }
  return shape.texture_matrix;
}

void StorePrimitive(SoCallbackAction *action, const SoPrimitiveVertex *const *corners, int32_t primitive) {
  ShapeAccumulator &shape = plugin.state->shape;
  SoState *traversal = action->getState();
  const SbMatrix &texture_matrix = TextureMatrix(shape, traversal);
  for (int32_t k = 0; k < shape.corners; ++k) {
    StoreCorner(shape, traversal, texture_matrix, corners[k], shape.corners * primitive + k);
  }
  if (!shape.vertex_color_count && shape.per_face_materials && plugin.state->options.import_materials) {
    AssignFaceSurface(corners[0]->getMaterialIndex(), traversal);
  }
  if (!shape.triangle_faces.empty()) shape.triangle_faces[primitive] = FaceKey(corners[0], primitive);
}

void ReportTriangleOverflow() {
  Kv_Report_Error_printf(
      6,
      "iv2kv::inventorCB_TrianglePrimitive():: the pre-calculated number of polygons for a primitive has been "
      "exceeded. This is a bug in the COIN Inventor library. As a fix to a known bug, if there is a \"Complexity\" "
      "statement in the .iv file then please remove it -- it has been known to cause incorrect computation of the "
      "number of triangles in a 'sphere' primitive.\n");
}

void ReceivePrimitive(SoCallbackAction *action, const SoPrimitiveVertex *const *corners) {
  ShapeAccumulator &shape = plugin.state->shape;
  if (!shape.polygons) {
    shape.triangles_received += shape.counting_in_state && shape.triangles_received < INT32_MAX;
    return;
  }
  const int32_t primitive = shape.triangles_received;
  if (primitive < shape.triangle_count) {
    StorePrimitive(action, corners, primitive);
  } else if (primitive == shape.triangle_count && !shape.trial_fill) {
    // Once per shape; the surplus is dropped. A trial fill only counts it.
    ReportTriangleOverflow();
  }
  shape.triangles_received = primitive + (primitive < INT32_MAX);
}

}  // namespace

void inventorCB_TrianglePrimitive(void *, SoCallbackAction *action, const SoPrimitiveVertex *v1,
                                  const SoPrimitiveVertex *v2, const SoPrimitiveVertex *v3) {
  const SoPrimitiveVertex *const corners[3] = {v1, v2, v3};
  ReceivePrimitive(action, corners);
}

void inventorCB_LineSegmentPrimitive(void *, SoCallbackAction *action, const SoPrimitiveVertex *v1,
                                     const SoPrimitiveVertex *v2) {
  const SoPrimitiveVertex *const corners[2] = {v1, v2};
  ReceivePrimitive(action, corners);
}

void inventorCB_PointPrimitive(void *, SoCallbackAction *action, const SoPrimitiveVertex *v) {
  ReceivePrimitive(action, &v);
}
