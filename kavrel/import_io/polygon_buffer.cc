// Polygon buffers: the one current IndexedPolygons record, its arrays
// zero-filled, its bounding box and its release.
#include <algorithm>
#include <memory>
#include <new>

#include "host/import_io.h"
#include "kavrel/import_io/import_support.h"
#include "kavrel/mesh/mesh_ops.h"
#include "kavrel/toolkit/call_recorder.h"

namespace kavrel {
namespace import_io {

namespace {

// Beyond this many entries per array a count is taken for garbage, not
// for a shape: 2^28 vertices of three floats are 3 GiB already.
constexpr int64_t kMaxEntries = int64_t(1) << 28;

template <typename T>
T *DataOrNull(std::vector<T> &array) {
  return array.empty() ? nullptr : array.data();
}

float *FloatsOrNull(std::vector<Vec3> &array) {
  static_assert(sizeof(Vec3) == 3 * sizeof(float), "a value is three packed floats");
  return array.empty() ? nullptr : array.data()->data();
}

bool CountsUsable(std::initializer_list<int32_t> counts) {
  return std::all_of(counts.begin(), counts.end(), [](int32_t n) { return n >= 0 && n <= kMaxEntries; });
}

// The arrays, zero-filled; false when the heap refuses.
bool AllocateArrays(PolygonStorage &storage, bool with_surface_names) {
  const IndexedPolygons &r = storage.record;
  try {
    storage.positions.resize(static_cast<size_t>(r.num_vertices));
    storage.normals.resize(static_cast<size_t>(r.num_normals));
    storage.texcoords.resize(static_cast<size_t>(r.num_texcoords));
    storage.colors.resize(static_cast<size_t>(r.num_colors));
    storage.vertex_indices.resize(static_cast<size_t>(r.num_vertex_indices));
    storage.vertices_per_polygon.resize(static_cast<size_t>(r.num_polygons));
    // Per-polygon surface names only for a caller that asked for them (a
    // pointer per polygon, 8 MB for a million triangles); a null slot means
    // "same as the polygon before", so an untouched array means none.
    if (with_surface_names) storage.surface_names.resize(static_cast<size_t>(r.num_polygons));
  } catch (const std::bad_alloc &) {
    return false;
  }
  PointRecordAtArrays(storage);
  return true;
}

}  // namespace

void PointRecordAtArrays(PolygonStorage &storage) {
  IndexedPolygons &record = storage.record;
  record.positions = FloatsOrNull(storage.positions);
  record.normals = FloatsOrNull(storage.normals);
  record.texcoords = FloatsOrNull(storage.texcoords);
  record.colors = FloatsOrNull(storage.colors);
  record.vertex_indices = DataOrNull(storage.vertex_indices);
  record.vertices_per_polygon = DataOrNull(storage.vertices_per_polygon);
  record.surface_names = DataOrNull(storage.surface_names);
  record.has_surface_names = record.surface_names ? 1 : 0;
}

void FreeCurrentBuffer(Host &host) { host.import_state().buffer.reset(); }

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
  kavrel::Host &host = kavrel::CurrentHost();
  CallRecorder call(host, "Import_IO_Alloc_Indexedpolygons", kavrel::CallEffect::kLeavesMeshes);
  call.integers({num_polygons, num_vertex_indices, num_vertices, num_normals, num_colors, num_texcoords, extra1,
                 extra2, extra3, texture_layers, clockwise, data_flags, with_surface_names});
  // One buffer at a time: a buffer nobody freed goes now.
  io::FreeCurrentBuffer(host);
  if (!io::CountsUsable({num_polygons, num_vertex_indices, num_vertices, num_normals, num_colors, num_texcoords})) {
    call.fail("negative or impossibly large counts");
    return nullptr;
  }
  std::unique_ptr<io::PolygonStorage> storage(new (std::nothrow) io::PolygonStorage);
  if (!storage) {
    call.fail("out of memory");
    return nullptr;
  }
  IndexedPolygons *buffer = &storage->record;
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
  if (!io::AllocateArrays(*storage, with_surface_names != 0)) {
    call.fail("out of memory");
    return nullptr;
  }
  host.import_state().buffer = std::move(storage);
  return buffer;
}

// The box lands in the record, where Import_IO_Output_Indexedpolygons
// takes it for the object: the mesh's box is worked out once, here.
extern "C" void Import_IO_Compute_BoundingBox(int32_t num_vertices, const float *positions) {
  kavrel::Host &host = kavrel::CurrentHost();
  CallRecorder call(host, "Import_IO_Compute_BoundingBox", kavrel::CallEffect::kLeavesMeshes);
  call.integers({num_vertices});
  io::PolygonStorage *storage = host.import_state().buffer.get();
  if (!storage) {
    call.fail("no polygon buffer is allocated");
    return;
  }
  IndexedPolygons &buffer = storage->record;
  buffer.bbox_valid = 0;
  if (num_vertices <= 0 || !call.pointer(positions, "positions")) return;
  // The plug-in hands back the positions of the buffer (three packed
  // floats per value) or an array laid out as they are.
  kavrel::Vec3 low, high;
  kavrel::PointBounds(reinterpret_cast<const kavrel::Vec3 *>(positions), static_cast<size_t>(num_vertices), &low,
                      &high);
  std::copy(low.begin(), low.end(), buffer.bbox_min);
  std::copy(high.begin(), high.end(), buffer.bbox_max);
  buffer.bbox_valid = 1;
}

extern "C" void Import_IO_Free_Indexedpolygons(void) {
  kavrel::Host &host = kavrel::CurrentHost();
  CallRecorder call(host, "Import_IO_Free_Indexedpolygons", kavrel::CallEffect::kLeavesMeshes);
  io::FreeCurrentBuffer(host);
}
