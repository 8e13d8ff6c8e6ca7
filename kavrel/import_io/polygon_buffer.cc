// Polygon buffers: the one current IndexedPolygons record, its arrays
// zero-filled from the heap, its bounding box and its release.
#include <algorithm>
#include <cstdlib>

#include "host/import_io.h"
#include "kavrel/import_io/import_support.h"
#include "kavrel/toolkit/call_recorder.h"

namespace kavrel {
namespace import_io {

namespace {

// Beyond this many entries per array a count is taken for garbage, not
// for a shape: 2^28 vertices of three floats are 3 GiB already.
constexpr int64_t kMaxEntries = int64_t(1) << 28;

IndexedPolygons *&current() {
  static IndexedPolygons *buffer = nullptr;
  return buffer;
}

// count elements of T, zeroed; null for a count of 0. *failed is set when
// the heap refuses.
template <typename T>
T *ZeroedArray(int64_t count, size_t per_entry, bool *failed) {
  if (count == 0) return nullptr;
  T *array = static_cast<T *>(std::calloc(static_cast<size_t>(count) * per_entry, sizeof(T)));
  if (!array) *failed = true;
  return array;
}

void FreeRecord(IndexedPolygons *buffer) {
  if (!buffer) return;
  if (buffer->surface_names) {
    // A slot that repeats the string of the slot before shares it.
    const char *freed = nullptr;
    for (int32_t f = 0; f < buffer->num_polygons; ++f) {
      char *name = buffer->surface_names[f];
      if (name && name != freed) std::free(name);
      if (name) freed = name;
    }
  }
  std::free(buffer->positions);
  std::free(buffer->normals);
  std::free(buffer->texcoords);
  std::free(buffer->colors);
  std::free(buffer->vertex_indices);
  std::free(buffer->vertices_per_polygon);
  std::free(buffer->surface_names);
  std::free(buffer);
}

bool CountsUsable(std::initializer_list<int32_t> counts) {
  return std::all_of(counts.begin(), counts.end(), [](int32_t n) { return n >= 0 && n <= kMaxEntries; });
}

}  // namespace

IndexedPolygons *current_buffer() { return current(); }

void FreeCurrentBuffer() {
  FreeRecord(current());
  current() = nullptr;
}

}  // namespace import_io
}  // namespace kavrel

using kavrel::CallRecorder;
namespace io = kavrel::import_io;

extern "C" IndexedPolygons *Import_IO_Alloc_Indexedpolygons(int32_t num_polygons, int32_t num_vertex_indices,
                                                            int32_t num_vertices, int32_t num_normals,
                                                            int32_t num_colors, int32_t num_texcoords,
                                                            int32_t extra1, int32_t extra2, int32_t extra3,
                                                            int32_t texture_layers, int32_t clockwise,
                                                            int32_t data_flags, int32_t with_surface_names) {
  CallRecorder call("Import_IO_Alloc_Indexedpolygons");
  call.integers({num_polygons, num_vertex_indices, num_vertices, num_normals, num_colors, num_texcoords, extra1,
                 extra2, extra3, texture_layers, clockwise, data_flags, with_surface_names});
  // One buffer at a time: a buffer nobody freed goes now.
  io::FreeCurrentBuffer();
  if (!io::CountsUsable({num_polygons, num_vertex_indices, num_vertices, num_normals, num_colors, num_texcoords})) {
    call.fail("negative or impossibly large counts");
    return nullptr;
  }
  IndexedPolygons *buffer = static_cast<IndexedPolygons *>(std::calloc(1, sizeof(IndexedPolygons)));
  if (!buffer) {
    call.fail("out of memory");
    return nullptr;
  }
  bool failed = false;
  buffer->positions = io::ZeroedArray<float>(num_vertices, 3, &failed);
  buffer->normals = io::ZeroedArray<float>(num_normals, 3, &failed);
  buffer->texcoords = io::ZeroedArray<float>(num_texcoords, 3, &failed);
  buffer->colors = io::ZeroedArray<float>(num_colors, 3, &failed);
  buffer->vertex_indices = io::ZeroedArray<int32_t>(num_vertex_indices, 1, &failed);
  buffer->vertices_per_polygon = io::ZeroedArray<int32_t>(num_polygons, 1, &failed);
  // Per-polygon surface names are always there to write: a null slot
  // means "same as the polygon before", so an untouched array means none.
  buffer->surface_names = io::ZeroedArray<char *>(num_polygons, 1, &failed);
  buffer->has_surface_names = buffer->surface_names ? 1 : 0;
  buffer->num_polygons = num_polygons;
  buffer->num_vertex_indices = num_vertex_indices;
  buffer->num_vertices = num_vertices;
  buffer->num_normals = num_normals;
  buffer->num_colors = num_colors;
  buffer->num_texcoords = num_texcoords;
  buffer->extra_counts[0] = extra1;
  buffer->extra_counts[1] = extra2;
  buffer->extra_counts[2] = extra3;
  buffer->texture_layers = texture_layers;
  buffer->clockwise = clockwise;
  buffer->data_flags = data_flags;
  if (failed) {
    call.fail("out of memory");
    io::FreeRecord(buffer);
    return nullptr;
  }
  io::current() = buffer;
  return buffer;
}

extern "C" void Import_IO_Compute_BoundingBox(int32_t num_vertices, const float *positions) {
  CallRecorder call("Import_IO_Compute_BoundingBox");
  call.integers({num_vertices});
  IndexedPolygons *buffer = io::current();
  if (!buffer) {
    call.fail("no polygon buffer is allocated");
    return;
  }
  buffer->bbox_valid = 0;
  if (num_vertices <= 0 || !call.pointer(positions, "positions")) return;
  for (int k = 0; k < 3; ++k) buffer->bbox_min[k] = buffer->bbox_max[k] = positions[k];
  for (int32_t v = 1; v < num_vertices; ++v) {
    for (int k = 0; k < 3; ++k) {
      buffer->bbox_min[k] = std::min(buffer->bbox_min[k], positions[3 * v + k]);
      buffer->bbox_max[k] = std::max(buffer->bbox_max[k], positions[3 * v + k]);
    }
  }
  buffer->bbox_valid = 1;
}

extern "C" void Import_IO_Free_Indexedpolygons(void) {
  CallRecorder call("Import_IO_Free_Indexedpolygons");
  io::FreeCurrentBuffer();
}
