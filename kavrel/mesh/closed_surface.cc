#include "kavrel/mesh/closed_surface.h"

#include <algorithm>

#include "kavrel/mesh/mesh_internal.h"

namespace kavrel {
namespace {

// Six times the signed volume enclosed by the polygons, each fanned from
// its first corner, positive when the corners run counter-clockwise seen
// from outside.
double SignedVolume6(const Mesh &mesh) {
  double sum = 0;
  size_t begin = 0;
  for (int32_t count : mesh.face_sizes) {
    const Vec3 &a = mesh.positions[mesh.position_index[begin]];
    for (int32_t k = 1; k + 1 < count; ++k) {
      const Vec3 &b = mesh.positions[mesh.position_index[begin + k]];
      const Vec3 &c = mesh.positions[mesh.position_index[begin + k + 1]];
      sum += static_cast<double>(a[0]) * (static_cast<double>(b[1]) * c[2] - static_cast<double>(b[2]) * c[1]) +
             static_cast<double>(a[1]) * (static_cast<double>(b[2]) * c[0] - static_cast<double>(b[0]) * c[2]) +
             static_cast<double>(a[2]) * (static_cast<double>(b[0]) * c[1] - static_cast<double>(b[1]) * c[0]);
    }
    begin += count;
  }
  return mesh.clockwise ? -sum : sum;
}

}  // namespace

bool IsClosedOutwardSurface(const Mesh &mesh) {
  if (mesh.face_sizes.empty() || !CheckMesh(mesh, nullptr)) return false;
  // The topology alone: positions welded where they are equal but for
  // rounding (a sphere's seam and poles are computed from different
  // angles), which also drops the polygons that collapse and the corners
  // that repeat.
  Vec3 low, high;
  MeshBounds(mesh, &low, &high);
  const float extent = std::max({high[0] - low[0], high[1] - low[1], high[2] - low[2]});
  Mesh topology;
  topology.positions = mesh.positions;
  topology.position_index = mesh.position_index;
  topology.face_sizes = mesh.face_sizes;
  topology.clockwise = mesh.clockwise;
  CombineStream(topology, MeshStream::kPosition, 1e-6f * extent);
  if (topology.face_sizes.empty()) return false;
  const mesh_detail::FaceLayout layout = mesh_detail::MakeFaceLayout(topology);
  const std::vector<int32_t> twins = mesh_detail::EdgeTwins(topology, layout, true);
  if (std::find(twins.begin(), twins.end(), -1) != twins.end()) return false;
  return SignedVolume6(topology) > 0;
}

}  // namespace kavrel
