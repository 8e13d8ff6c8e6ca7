// Output of the current polygon buffer as the geometry of the object being
// defined: four separate streams that all use the buffer's corner indices,
// face sizes, winding and per-face surfaces.
#include <cstring>
#include <unordered_map>

#include "host/import_io.h"
#include "kavrel/import_io/import_support.h"
#include "kavrel/toolkit/call_recorder.h"
#include "kavrel/toolkit/mesh_ops.h"

namespace kavrel {
namespace import_io {

namespace {

void CopyStream(const float *array, int32_t count, const IndexedPolygons &buffer, std::vector<Vec3> *values,
                std::vector<int32_t> *index) {
  static_assert(sizeof(Vec3) == 3 * sizeof(float), "a value is three packed floats");
  if (!array || count <= 0 || buffer.num_vertex_indices <= 0) return;
  values->resize(static_cast<size_t>(count));
  std::memcpy(values->data(), array, sizeof(Vec3) * values->size());
  index->assign(buffer.vertex_indices, buffer.vertex_indices + buffer.num_vertex_indices);
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

Mesh MeshFromBuffer(const IndexedPolygons &buffer) {
  Mesh mesh;
  CopyStream(buffer.positions, buffer.num_vertices, buffer, &mesh.positions, &mesh.position_index);
  CopyStream(buffer.normals, buffer.num_normals, buffer, &mesh.normals, &mesh.normal_index);
  CopyStream(buffer.texcoords, buffer.num_texcoords, buffer, &mesh.texcoords, &mesh.texcoord_index);
  CopyStream(buffer.colors, buffer.num_colors, buffer, &mesh.colors, &mesh.color_index);
  if (buffer.vertices_per_polygon)
    mesh.face_sizes.assign(buffer.vertices_per_polygon, buffer.vertices_per_polygon + buffer.num_polygons);
  mesh.clockwise = buffer.clockwise != 0;
  CopyFaceSurfaces(buffer, &mesh);
  return mesh;
}

void SetBoundingBox(const IndexedPolygons &buffer, Object *object) {
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
  Scene &s = scene();
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
  kavrel::CallRecorder call("Import_IO_Output_Indexedpolygons");
  call.integers({a});
  call.text(object, "object");
  call.integers({b});
  call.floats(&c, 1, "value");
  const IndexedPolygons *buffer = kavrel::import_io::current_buffer();
  if (!buffer) {
    call.fail("no polygon buffer is allocated");
    return call.finish();
  }
  kavrel::Object *target = kavrel::import_io::ObjectBeingDefined(object, call);
  if (!target) return call.finish();
  kavrel::Mesh mesh = kavrel::import_io::MeshFromBuffer(*buffer);
  std::string problem;
  if (!kavrel::CheckMesh(mesh, &problem)) {
    call.fail("unusable polygon buffer: " + problem);
    return call.finish();
  }
  target->mesh = std::move(mesh);
  kavrel::import_io::SetBoundingBox(*buffer, target);
  return call.finish();
}
