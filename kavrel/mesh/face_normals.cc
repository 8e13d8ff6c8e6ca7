// Polygon normals and the angle test shared by smoothing and merging.
#include <algorithm>
#include <cmath>

#include "common/polygon_normal.h"
#include "kavrel/mesh/mesh_internal.h"

namespace kavrel {
namespace mesh_detail {

std::vector<Vec3> FaceNormals(const Mesh &mesh, const FaceLayout &layout) {
  const size_t faces = mesh.face_sizes.size();
  std::vector<Vec3> normals(faces);
  for (size_t f = 0; f < faces; ++f) {
    const int32_t begin = layout.start[f];
    normals[f] = common::PolygonNormal(static_cast<size_t>(layout.start[f + 1] - begin),
                                       [&](size_t k) { return mesh.positions[mesh.position_index[begin + k]]; });
  }
  return normals;
}

float CosineLimit(float angle_degrees) {
  float angle = std::isfinite(angle_degrees) ? std::clamp(angle_degrees, 0.0f, 180.0f) : 0.0f;
  return static_cast<float>(std::cos(angle * M_PI / 180.0)) - 1e-6f;
}

}  // namespace mesh_detail
}  // namespace kavrel
