// Mesh operations of the scene database, each in linear expected time.
#ifndef KAVREL_TOOLKIT_MESH_OPS_H
#define KAVREL_TOOLKIT_MESH_OPS_H

#include "kavrel/toolkit/scene.h"

namespace kavrel {

enum class MeshStream { kPosition, kNormal, kTexcoord, kColor };

// Welds the values of one stream that lie within threshold of each other
// (per component), by spatial hashing; rewrites that stream's indices only.
// Welding positions also drops polygons whose corners collapse into fewer
// than three distinct positions.
void CombineStream(Mesh &mesh, MeshStream stream, float threshold);

// Replaces the normals by smoothed ones: corners that share a position
// share a normal where the faces meet at less than angle_degrees.
void CalcSmoothNormals(Mesh &mesh, float angle_degrees);

// Merges coplanar neighbouring polygons (within angle_degrees) that share
// the same surface into quadrilaterals only, or into larger convex polygons.
void MergeCoplanarPolygons(Mesh &mesh, bool quads_only, float angle_degrees);

}  // namespace kavrel

#endif
