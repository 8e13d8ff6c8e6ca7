// Whether a mesh is the closed, outward-facing surface of a solid, the one
// kind of mesh whose back faces are never seen.
#ifndef KAVREL_MESH_CLOSED_SURFACE_H
#define KAVREL_MESH_CLOSED_SURFACE_H

#include "kavrel/mesh/mesh.h"

namespace kavrel {

// True when, with positions welded that lie within a millionth of the
// mesh's extent of each other and polygons without area, segments and
// points left out, every edge is shared by exactly two polygons that run it in opposite
// directions (closed and consistently wound) and the enclosed volume is
// positive in the mesh's winding (the fronts face outwards). False for an
// empty or malformed mesh. Linear expected time.
bool IsClosedOutwardSurface(const Mesh &mesh);

}  // namespace kavrel

#endif
