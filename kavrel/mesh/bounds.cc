// The box around points: the one loop that works out boxes for the host.
#include <algorithm>

#include "kavrel/mesh/mesh_ops.h"

namespace kavrel {

void PointBounds(const Vec3 *points, size_t count, Vec3 *min, Vec3 *max) {
  *min = *max = count == 0 ? Vec3{0, 0, 0} : points[0];
  for (size_t i = 1; i < count; ++i) {
    for (int k = 0; k < 3; ++k) {
      (*min)[k] = std::min((*min)[k], points[i][k]);
      (*max)[k] = std::max((*max)[k], points[i][k]);
    }
  }
}

void MeshBounds(const Mesh &mesh, Vec3 *min, Vec3 *max) {
  PointBounds(mesh.positions.data(), mesh.positions.size(), min, max);
}

}  // namespace kavrel
