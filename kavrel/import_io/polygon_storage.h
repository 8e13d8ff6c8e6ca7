// The arrays behind the current IndexedPolygons record. They are vectors so
// that Import_IO_Output_Indexedpolygons can hand them to the object being
// defined without copying a mesh of millions of corners.
#ifndef KAVREL_IMPORT_IO_POLYGON_STORAGE_H
#define KAVREL_IMPORT_IO_POLYGON_STORAGE_H

#include <vector>

#include "host/host_records.h"
#include "kavrel/toolkit/scene.h"

namespace kavrel {
namespace import_io {

struct PolygonStorage {
  IndexedPolygons record{};                    // what the plug-in holds a pointer to
  std::vector<Vec3> positions, normals, texcoords, colors;
  std::vector<int32_t> vertex_indices, vertices_per_polygon;
  std::vector<char *> surface_names;           // heap strings the buffer owns

  // Points the record's array fields at the vectors (null for empty ones).
  void PointRecordAtArrays();
};

// The storage of the current buffer, null when none.
PolygonStorage *current_storage();

}  // namespace import_io
}  // namespace kavrel

#endif
