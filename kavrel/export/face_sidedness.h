// Which meshes an export marks as drawn on both sides. Inventor lights and
// draws both sides of every shape unless its ShapeHints promise a solid
// with a known vertex ordering, and files are full of faces wound either
// way; viewers of the exported formats cull back faces of single-sided
// materials. So every mesh is double-sided except the closed, consistently
// wound meshes whose fronts face outwards: their back faces are hidden
// inside the solid, and culling them changes nothing a user sees. (Meshes
// whose every placement says Inventor culls them are single-sided too; the
// export model decides that, model_meshes.cc.)
#ifndef KAVREL_EXPORT_FACE_SIDEDNESS_H
#define KAVREL_EXPORT_FACE_SIDEDNESS_H

#include "kavrel/mesh/closed_surface.h"

namespace kavrel {

inline bool DrawnDoubleSided(const Mesh &mesh) { return !IsClosedOutwardSurface(mesh); }

}  // namespace kavrel

#endif
