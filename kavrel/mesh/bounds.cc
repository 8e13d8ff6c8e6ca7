// The box around a mesh.
#include <algorithm>

#include "kavrel/mesh/mesh_ops.h"

namespace kavrel {

void MeshBounds(const Mesh &mesh, Vec3 *min, Vec3 *max) {
  *min = *max = mesh.positions.empty() ? Vec3{0, 0, 0} : mesh.positions[0];
  for (const Vec3 &p : mesh.positions) {
    for (int k = 0; k < 3; ++k) {
      (*min)[k] = std::min((*min)[k], p[k]);
      (*max)[k] = std::max((*max)[k], p[k]);
    }
  }
}

}  // namespace kavrel
