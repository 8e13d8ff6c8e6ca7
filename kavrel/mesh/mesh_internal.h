// Building blocks shared by the mesh operations: polygon layout, attribute
// stream access, edge adjacency and face normals. Every helper runs in
// linear expected time and allocates its arrays once per call, never per
// corner.
#ifndef KAVREL_MESH_MESH_INTERNAL_H
#define KAVREL_MESH_MESH_INTERNAL_H

#include <cstdint>
#include <vector>

#include "kavrel/mesh/byte_hash.h"
#include "kavrel/mesh/mesh.h"
#include "kavrel/mesh/mesh_ops.h"

namespace kavrel {
namespace mesh_detail {

// Where each polygon's corners live in the per-corner index lists.
struct FaceLayout {
  std::vector<int32_t> start;                  // first corner of each polygon, plus the corner count at the end
  std::vector<int32_t> face_of;                // polygon of each corner
};

FaceLayout MakeFaceLayout(const Mesh &mesh);

// The corner after c within its polygon, wrapping to the polygon's first.
inline int32_t NextCorner(const FaceLayout &layout, int32_t c) {
  int32_t f = layout.face_of[c];
  return c + 1 == layout.start[f + 1] ? layout.start[f] : c + 1;
}
inline int32_t PrevCorner(const FaceLayout &layout, int32_t c) {
  int32_t f = layout.face_of[c];
  return c == layout.start[f] ? layout.start[f + 1] - 1 : c - 1;
}

// One attribute stream of a mesh: its values and its per-corner indices.
struct StreamRef {
  std::vector<Vec3> *values;
  std::vector<int32_t> *index;
};
StreamRef StreamOf(Mesh &mesh, MeshStream stream);
struct ConstStreamRef {
  const std::vector<Vec3> *values;
  const std::vector<int32_t> *index;
};
ConstStreamRef StreamOf(const Mesh &mesh, MeshStream stream);
constexpr MeshStream kAllStreams[] = {MeshStream::kPosition, MeshStream::kNormal, MeshStream::kTexcoord,
                                      MeshStream::kColor};

// Drops the values no corner refers to, keeping the order of first use.
void CompactStream(std::vector<Vec3> &values, std::vector<int32_t> &index);

// Keeps the corners whose keep flag is set; new_size holds each polygon's
// corner count afterwards, 0 for a polygon that goes entirely. Per-face
// surfaces follow their polygons; unreferenced values are compacted away.
void RemoveCorners(Mesh &mesh, const std::vector<uint8_t> &keep_corner, const std::vector<int32_t> &new_size);

// For each corner, the corner that starts the same edge in the one other
// polygon sharing it, or -1 (open edge, edge of three or more polygons,
// collapsed edge). With opposite_only, only a neighbour that runs the edge
// the other way round counts (consistent winding). Only faces have edges
// here: a segment's or point's corners have no twin, and a segment lying
// on a face's edge does not count as a third polygon there.
std::vector<int32_t> EdgeTwins(const Mesh &mesh, const FaceLayout &layout, bool opposite_only);

// Unit normal of every polygon by Newell's method, in the turning sense of
// its corner order; (0, 0, 0) for a polygon without area.
std::vector<Vec3> FaceNormals(const Mesh &mesh, const FaceLayout &layout);

// Cosine that a dot product of unit normals must reach for two faces to
// meet "below" angle_degrees; a small tolerance keeps coplanar faces
// together at an angle of 0.
float CosineLimit(float angle_degrees);

}  // namespace mesh_detail
}  // namespace kavrel

#endif
