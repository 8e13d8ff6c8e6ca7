// Polygon normals and the angle test shared by smoothing and merging.
#include <algorithm>

#include "kavrel/toolkit/mesh_internal.h"

namespace kavrel {
namespace mesh_detail {

Vec3 Normalized(const Vec3 &a) {
  const float length = Length(a);
  if (!(length > 0.0f) || !std::isfinite(length)) return {0, 0, 0};
  return {a[0] / length, a[1] / length, a[2] / length};
}

std::vector<Vec3> FaceNormals(const Mesh &mesh, const FaceLayout &layout) {
  const size_t faces = mesh.face_sizes.size();
  std::vector<Vec3> normals(faces);
  for (size_t f = 0; f < faces; ++f) {
    // Newell's sum taken relative to the first corner: exact for triangles,
    // the best-fit plane's normal for larger, slightly bent polygons.
    const int32_t begin = layout.start[f], end = layout.start[f + 1];
    const Vec3 &origin = mesh.positions[mesh.position_index[begin]];
    double sum[3] = {0, 0, 0};
    for (int32_t c = begin + 1; c + 1 < end; ++c) {
      const Vec3 n = Cross(Sub(mesh.positions[mesh.position_index[c]], origin),
                           Sub(mesh.positions[mesh.position_index[c + 1]], origin));
      for (int k = 0; k < 3; ++k) sum[k] += n[k];
    }
    normals[f] = Normalized({static_cast<float>(sum[0]), static_cast<float>(sum[1]), static_cast<float>(sum[2])});
  }
  return normals;
}

float CosineLimit(float angle_degrees) {
  float angle = std::isfinite(angle_degrees) ? std::clamp(angle_degrees, 0.0f, 180.0f) : 0.0f;
  return static_cast<float>(std::cos(angle * M_PI / 180.0)) - 1e-6f;
}

}  // namespace mesh_detail
}  // namespace kavrel
