// What the import support library (kavrel/import_io) keeps for one
// conversion: the run frame, the current polygon buffer and the names
// handed out. The Host owns it and the library's calls work on it; it is
// declared here, below the library, because the Host is.
#ifndef KAVREL_TOOLKIT_IMPORT_STATE_H
#define KAVREL_TOOLKIT_IMPORT_STATE_H

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "host/host_records.h"
#include "kavrel/mesh/mesh.h"

namespace kavrel {
namespace import_io {

// The run set up by Import_IO_Initialize.
struct RunFrame {
  Import_IO_ErrorHook hook = nullptr;          // the plug-in's error hook, null outside a run
  std::string root_name = "world";             // the import's root instance
};

// The arrays behind the current IndexedPolygons record. They are vectors so
// that Import_IO_Output_Indexedpolygons can hand them to the object being
// defined without copying a mesh of millions of corners.
struct PolygonStorage {
  IndexedPolygons record{};                    // what the plug-in holds a pointer to
  std::vector<Vec3> positions, normals, texcoords, colors;
  std::vector<int32_t> vertex_indices, vertices_per_polygon;
  std::vector<char *> surface_names;           // heap strings the buffer owns

  PolygonStorage() = default;
  PolygonStorage(const PolygonStorage &) = delete;
  PolygonStorage &operator=(const PolygonStorage &) = delete;
  ~PolygonStorage() {
    // A slot that repeats the string of the slot before shares it.
    const char *freed = nullptr;
    for (char *name : surface_names) {
      if (name && name != freed) std::free(name);
      if (name) freed = name;
    }
  }
};

// The names of one kind handed out by the unique naming.
struct KindNames {
  std::unordered_map<std::string, uint32_t> tried;  // base -> candidates tried so far
  std::unordered_set<std::string> handed_out;
};

struct ImportState {
  RunFrame frame;
  std::unique_ptr<PolygonStorage> buffer;      // of the last Import_IO_Alloc_Indexedpolygons, null when none
  std::unordered_map<std::string, KindNames> names;  // by kind: "instance", "object", ...
};

}  // namespace import_io
}  // namespace kavrel

#endif
