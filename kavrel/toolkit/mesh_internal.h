// Building blocks shared by the mesh operations: polygon layout, attribute
// stream access, a flat hash from 64-bit keys, edge adjacency and face
// normals. Every helper runs in linear expected time and allocates its
// arrays once per call, never per corner.
#ifndef KAVREL_TOOLKIT_MESH_INTERNAL_H
#define KAVREL_TOOLKIT_MESH_INTERNAL_H

#include <cmath>
#include <cstdint>
#include <vector>

#include "kavrel/toolkit/mesh_ops.h"
#include "kavrel/toolkit/scene.h"

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

// Open-addressing hash from 64-bit keys to int32 values; grows
// by doubling, so n insertions cost O(n) expected and no per-key allocation.
class FlatMap64 {
 public:
  explicit FlatMap64(size_t expected);
  // Slot value for key, inserting `fresh` when the key is new; *inserted
  // tells which. The reference stays valid until the next insertion.
  int32_t &find_or_insert(uint64_t key, int32_t fresh, bool *inserted);

 private:
  struct Slot {
    uint64_t key;
    int32_t value;
    int32_t used;
  };
  void grow();
  std::vector<Slot> slots_;
  size_t mask_ = 0;
  size_t count_ = 0;
};

inline uint64_t MixBits(uint64_t x) {
  x ^= x >> 33;
  x *= 0xff51afd7ed558ccdULL;
  x ^= x >> 33;
  x *= 0xc4ceb9fe1a85ec53ULL;
  x ^= x >> 33;
  return x;
}

// For each corner, the corner that starts the same edge in the one other
// polygon sharing it, or -1 (open edge, edge of three or more polygons,
// collapsed edge). With opposite_only, only a neighbour that runs the edge
// the other way round counts (consistent winding).
std::vector<int32_t> EdgeTwins(const Mesh &mesh, const FaceLayout &layout, bool opposite_only);

// Unit normal of every polygon by Newell's method, in the turning sense of
// its corner order; (0, 0, 0) for a polygon without area.
std::vector<Vec3> FaceNormals(const Mesh &mesh, const FaceLayout &layout);

inline Vec3 Sub(const Vec3 &a, const Vec3 &b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
inline float Dot(const Vec3 &a, const Vec3 &b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
inline Vec3 Cross(const Vec3 &a, const Vec3 &b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
inline float Length(const Vec3 &a) { return std::sqrt(Dot(a, a)); }
// a / |a|, or (0, 0, 0) when a has no length.
Vec3 Normalized(const Vec3 &a);

// Cosine that a dot product of unit normals must reach for two faces to
// meet "below" angle_degrees; a small tolerance keeps coplanar faces
// together at an angle of 0.
float CosineLimit(float angle_degrees);

}  // namespace mesh_detail
}  // namespace kavrel

#endif
