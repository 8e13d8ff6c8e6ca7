// Objects' meshes made ready for writing, on several threads: flattened
// (see FlattenMesh) and tested for sidedness (see DrawnDoubleSided). Each
// object is two tasks, so that even a scene of one large mesh keeps two
// cores busy; the results are the same whatever the timing.
#ifndef KAVREL_EXPORT_PREPARED_MESHES_H
#define KAVREL_EXPORT_PREPARED_MESHES_H

#include <cstdint>
#include <vector>

#include "kavrel/export/export_notes.h"
#include "kavrel/export/mesh_flatten.h"
#include "kavrel/toolkit/scene.h"

namespace kavrel {

struct PreparedMesh {
  FlatMesh flat;
  ExportNotes repairs;                         // made while flattening
  bool double_sided = true;
};

// out[k] for scene.objects.items[objects[k]]; out has objects.size() entries.
void PrepareMeshes(const Scene &scene, const std::vector<int32_t> &objects, PreparedMesh *out);

}  // namespace kavrel

#endif
