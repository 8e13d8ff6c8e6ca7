// Output of the current polygon buffer as the geometry of the object being
// defined: four separate streams that all use the buffer's corner indices,
// face sizes, winding and per-face surfaces.
//
// The buffer's arrays are handed to the object, not copied: once output,
// the record's array fields are null (the counts stay), and releasing the
// buffer frees only what is left of it. A mesh of a million triangles is
// then never held twice.
#include <array>
#include <unordered_map>

#include "host/import_io.h"
#include "kavrel/import_io/import_support.h"
#include "kavrel/mesh/mesh_ops.h"
#include "kavrel/toolkit/call_recorder.h"

namespace kavrel {
namespace import_io {

namespace {

// A stream is there when its array is and there are corners to index it.
bool StreamPresent(const std::vector<Vec3> &values, const PolygonStorage &storage) {
  return !values.empty() && !storage.vertex_indices.empty();
}

// Per-face surfaces from the name slots: a null slot repeats the polygon
// before; before the first named slot, -1 (the instance's own surface).
// Consecutive polygons usually carry equal names, so the name table is only
// searched when a name differs from the one before.
void CopyFaceSurfaces(const IndexedPolygons &buffer, Mesh *mesh) {
  if (!buffer.surface_names) return;
  const int32_t faces = buffer.num_polygons;
  int32_t first_named = 0;
  while (first_named < faces && !buffer.surface_names[first_named]) ++first_named;
  if (first_named == faces) return;
  mesh->face_surface.assign(static_cast<size_t>(faces), -1);
  std::unordered_map<std::string, int32_t> known;
  int32_t surface = -1;
  for (int32_t f = first_named; f < faces; ++f) {
    const char *name = buffer.surface_names[f];
    if (name && (surface < 0 || mesh->surface_names[surface] != name)) {
      auto it = known.emplace(name, static_cast<int32_t>(mesh->surface_names.size())).first;
      if (it->second == static_cast<int32_t>(mesh->surface_names.size())) mesh->surface_names.push_back(name);
      surface = it->second;
    }
    mesh->face_surface[f] = surface;
  }
}

// The streams besides positions: where each lives in the buffer and in the mesh.
struct StreamSlots {
  std::vector<Vec3> *buffer, *values;
  std::vector<int32_t> *index;
};

std::array<StreamSlots, 3> OtherStreams(PolygonStorage &storage, Mesh &mesh) {
  return {{{&storage.normals, &mesh.normals, &mesh.normal_index},
           {&storage.texcoords, &mesh.texcoords, &mesh.texcoord_index},
           {&storage.colors, &mesh.colors, &mesh.color_index}}};
}

// A plug-in may fill fewer polygons and corner indices than it allocated
// (the edges of a shape drawn as lines) and lower the record's counts to
// say so: what lies beyond them is not part of the mesh.
void TrimToRecordCounts(PolygonStorage &storage) {
  const IndexedPolygons &record = storage.record;
  if (record.num_polygons >= 0 && static_cast<size_t>(record.num_polygons) < storage.vertices_per_polygon.size())
    storage.vertices_per_polygon.resize(static_cast<size_t>(record.num_polygons));
  if (record.num_vertex_indices >= 0 && static_cast<size_t>(record.num_vertex_indices) < storage.vertex_indices.size())
    storage.vertex_indices.resize(static_cast<size_t>(record.num_vertex_indices));
}

// Moves the arrays into a mesh; the position stream takes the corner
// indices themselves, the others a copy of them.
Mesh TakeMesh(PolygonStorage &storage) {
  TrimToRecordCounts(storage);
  Mesh mesh;
  for (const StreamSlots &stream : OtherStreams(storage, mesh)) {
    if (!StreamPresent(*stream.buffer, storage)) continue;
    *stream.index = storage.vertex_indices;
    stream.values->swap(*stream.buffer);
  }
  if (StreamPresent(storage.positions, storage)) {
    mesh.positions.swap(storage.positions);
    mesh.position_index.swap(storage.vertex_indices);
  }
  mesh.face_sizes.swap(storage.vertices_per_polygon);
  mesh.clockwise = storage.record.clockwise != 0;
  CopyFaceSurfaces(storage.record, &mesh);
  PointRecordAtArrays(storage);
  return mesh;
}

// Undoes TakeMesh for a buffer the object refused.
void GiveBack(Mesh &mesh, PolygonStorage &storage) {
  for (const StreamSlots &stream : OtherStreams(storage, mesh))
    if (!stream.index->empty()) stream.buffer->swap(*stream.values);
  if (!mesh.position_index.empty()) {
    storage.positions.swap(mesh.positions);
    storage.vertex_indices.swap(mesh.position_index);
  }
  storage.vertices_per_polygon.swap(mesh.face_sizes);
  PointRecordAtArrays(storage);
}

// The box Import_IO_Compute_BoundingBox put in the record; worked out
// now only when the plug-in asked for none.
void SetBoundingBox(const IndexedPolygons &buffer, Object *object) {
  object->bounded = true;
  if (buffer.bbox_valid) {
    for (int k = 0; k < 3; ++k) {
      object->bbox_min[k] = buffer.bbox_min[k];
      object->bbox_max[k] = buffer.bbox_max[k];
    }
    return;
  }
  MeshBounds(object->mesh, &object->bbox_min, &object->bbox_max);
}

// The object that Kv_Object_Define opened, checked against the name the
// caller gave; null with the problem recorded otherwise.
Object *ObjectBeingDefined(const char *name, CallRecorder &call) {
  Scene &s = call.host().scene();
  const int32_t index = s.object_being_defined;
  if (index == kNone) {
    call.fail("no object is being defined");
    return nullptr;
  }
  Object &object = s.objects.items[index];
  if (name && object.name != name) {
    call.fail("the object being defined is \"" + object.name + "\"");
    return nullptr;
  }
  return &object;
}

}  // namespace

}  // namespace import_io
}  // namespace kavrel

extern "C" int Import_IO_Output_Indexedpolygons(intptr_t a, const char *object, intptr_t b, float c) {
  kavrel::Host &host = kavrel::CurrentHost();
  kavrel::CallRecorder call(host, "Import_IO_Output_Indexedpolygons", kavrel::CallEffect::kLeavesMeshes);
  call.integers({a});
  call.text(object, "object");
  call.integers({b});
  call.floats(&c, 1, "value");
  kavrel::import_io::PolygonStorage *buffer = host.import_state().buffer.get();
  if (!buffer) {
    call.fail("no polygon buffer is allocated");
    return call.finish();
  }
  kavrel::Object *target = kavrel::import_io::ObjectBeingDefined(object, call);
  if (!target) return call.finish();
  kavrel::Mesh mesh = kavrel::import_io::TakeMesh(*buffer);
  std::string problem;
  if (!kavrel::CheckMesh(mesh, &problem)) {
    kavrel::import_io::GiveBack(mesh, *buffer);
    call.fail("unusable polygon buffer: " + problem);
    return call.finish();
  }
  target->mesh = std::move(mesh);
  target->checked = true;
  kavrel::import_io::SetBoundingBox(buffer->record, target);
  return call.finish();
}
