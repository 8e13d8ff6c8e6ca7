#include "geometry/tessellated_surfaces.h"

#include <string>

#include "geometry/nurbs/nurbs.h"
#include "geometry/shape_classes.h"
#include "geometry/triangle_collection.h"
#include "host/import_io.h"
#include "state/state.h"

bool TessellateSurfaceShape(SoCallbackAction *action, const SoNode *node, int32_t &triangles) {
  std::vector<SoPrimitiveVertex> &corners = plugin.state->shape.nurbs_corners;
  corners.clear();
  SbString reason, warning;
  const bool made = TessellateNurbsSurface(action, node, corners, reason, &warning);
  if (!made || warning.getLength() > 0) {
    SbString name;
    GetShapeName(name, node);
    const std::string message = std::string("NURBS surface '") + name.getString() +
                                (made ? "': " + std::string(warning.getString())
                                      : "' skipped: " + std::string(reason.getString()));
    Import_IO_Report_Error(1, message.c_str());
  }
  if (!made) {
    corners.clear();
    return false;
  }
  triangles = static_cast<int32_t>(corners.size() / 3);
  return true;
}

void DeliverTessellatedTriangles(SoCallbackAction *action) {
  const std::vector<SoPrimitiveVertex> &corners = plugin.state->shape.nurbs_corners;
  for (size_t i = 0; i + 2 < corners.size(); i += 3) {
    inventorCB_TrianglePrimitive(nullptr, action, &corners[i], &corners[i + 1], &corners[i + 2]);
  }
}
