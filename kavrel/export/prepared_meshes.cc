#include "kavrel/export/prepared_meshes.h"

#include "kavrel/export/face_sidedness.h"
#include "kavrel/mesh/parallel_tasks.h"

namespace kavrel {

void PrepareMeshes(const Scene &scene, const std::vector<int32_t> &objects, PreparedMesh *out) {
  RunTasks(2 * objects.size(), [&](size_t task) {
    const Object &source = scene.objects.items[objects[task / 2]];
    PreparedMesh &prepared = out[task / 2];
    if (task % 2 == 0) {
      prepared.flat = FlattenMesh(source.mesh, prepared.repairs, WellFormed(source));
    } else {
      prepared.double_sided = DrawnDoubleSided(source.mesh);
    }
  });
}

}  // namespace kavrel
