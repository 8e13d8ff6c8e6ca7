#include "kavrel/mesh/closed_surface.h"

#include <algorithm>
#include <cmath>

#include "kavrel/mesh/mesh_internal.h"

namespace kavrel {
namespace {

// Calls triangle(a, b, c) for each polygon fanned from its first corner;
// segments and points make none.
template <typename Triangle>
void ForEachFanTriangle(const Mesh &mesh, Triangle triangle) {
  size_t begin = 0;
  for (int32_t count : mesh.face_sizes) {
    const Vec3 &a = mesh.positions[mesh.position_index[begin]];
    for (int32_t k = 1; k + 1 < count; ++k)
      triangle(a, mesh.positions[mesh.position_index[begin + k]], mesh.positions[mesh.position_index[begin + k + 1]]);
    begin += count;
  }
}

// Six times the signed volume enclosed by the polygons, each fanned from
// its first corner, positive when the corners run counter-clockwise seen
// from outside.
double SignedVolume6(const Mesh &mesh) {
  double sum = 0;
  ForEachFanTriangle(mesh, [&sum](const Vec3 &a, const Vec3 &b, const Vec3 &c) {
    sum += static_cast<double>(a[0]) * (static_cast<double>(b[1]) * c[2] - static_cast<double>(b[2]) * c[1]) +
           static_cast<double>(a[1]) * (static_cast<double>(b[2]) * c[0] - static_cast<double>(b[0]) * c[2]) +
           static_cast<double>(a[2]) * (static_cast<double>(b[0]) * c[1] - static_cast<double>(b[1]) * c[0]);
  });
  return mesh.clockwise ? -sum : sum;
}

// A closed surface's polygons have area vectors (fanned from each first
// corner) that sum to zero, however it is wound; the sum of an open mesh
// (a terrain, a sheet, a half-open box) is a good part of the areas'
// total. Seams the topology test welds leave gaps of a millionth of the
// extent, far below this share, so a mesh judged open here would fail the
// test as well; the check takes one pass and no memory, where the test
// welds the positions and pairs every edge.
constexpr double kOpenShare = 0.01;

bool FarFromClosed(const Mesh &mesh) {
  double sum[3] = {0, 0, 0}, total = 0;
  ForEachFanTriangle(mesh, [&sum, &total](const Vec3 &a, const Vec3 &b, const Vec3 &c) {
    double u[3], v[3];
    for (int axis = 0; axis < 3; ++axis) {
      u[axis] = static_cast<double>(b[axis]) - a[axis];
      v[axis] = static_cast<double>(c[axis]) - a[axis];
    }
    const double area[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
    for (int axis = 0; axis < 3; ++axis) sum[axis] += area[axis];
    total += std::sqrt(area[0] * area[0] + area[1] * area[1] + area[2] * area[2]);
  });
  return std::sqrt(sum[0] * sum[0] + sum[1] * sum[1] + sum[2] * sum[2]) > kOpenShare * total;
}

// The faces' positions and corners: segments and points bound no solid,
// and a mesh's sidedness is decided by its faces alone.
Mesh FacePositions(const Mesh &mesh) {
  Mesh faces;
  faces.positions = mesh.positions;
  faces.clockwise = mesh.clockwise;
  if (std::all_of(mesh.face_sizes.begin(), mesh.face_sizes.end(), [](int32_t size) { return size >= 3; })) {
    faces.position_index = mesh.position_index;
    faces.face_sizes = mesh.face_sizes;
    return faces;
  }
  faces.position_index.reserve(mesh.corner_count());
  faces.face_sizes.reserve(mesh.face_sizes.size());
  auto corner = mesh.position_index.begin();
  for (int32_t size : mesh.face_sizes) {
    if (size >= 3) {
      faces.face_sizes.push_back(size);
      faces.position_index.insert(faces.position_index.end(), corner, corner + size);
    }
    corner += size;
  }
  return faces;
}

}  // namespace

bool IsClosedOutwardSurface(const Mesh &mesh) {
  if (mesh.face_sizes.empty() || !CheckMesh(mesh, nullptr) || FarFromClosed(mesh)) return false;
  Mesh topology = FacePositions(mesh);
  if (topology.face_sizes.empty()) return false;
  // The topology alone: positions welded where they are equal but for
  // rounding (a sphere's seam and poles are computed from different
  // angles), which also drops the polygons that collapse and the corners
  // that repeat.
  Vec3 low, high;
  MeshBounds(mesh, &low, &high);
  const float extent = std::max({high[0] - low[0], high[1] - low[1], high[2] - low[2]});
  CombineStream(topology, MeshStream::kPosition, 1e-6f * extent);
  if (topology.face_sizes.empty()) return false;
  const mesh_detail::FaceLayout layout = mesh_detail::MakeFaceLayout(topology);
  const std::vector<int32_t> twins = mesh_detail::EdgeTwins(topology, layout, true);
  if (std::find(twins.begin(), twins.end(), -1) != twins.end()) return false;
  return SignedVolume6(topology) > 0;
}

}  // namespace kavrel
