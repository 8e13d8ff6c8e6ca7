#include "kavrel/export/gltf_meshes.h"

#include <algorithm>

#include "kavrel/export/face_sidedness.h"
#include "kavrel/export/mesh_flatten.h"
#include "kavrel/export/scene_walk.h"
#include "kavrel/mesh/mesh_ops.h"

namespace kavrel {
namespace {

// Meshes without a primitive on the instance's surface are the same for
// every instance: they share this key.
constexpr int kAnyInstanceMaterial = -2;

void WriteAttribute(JsonWriter &out, const char *name, int accessor) {
  if (accessor >= 0) out.Field(name, accessor);
}

}  // namespace

GltfMeshes::GltfMeshes(const Scene &scene, GltfDocument &doc, GltfMaterials &materials)
    : scene_(scene),
      doc_(doc),
      materials_(materials),
      live_objects_(LiveSlots(scene.objects)),
      geometry_of_(scene.objects.items.size(), kNone) {}

int32_t GltfMeshes::GeometryOf(int32_t object) {
  int32_t &geometry = geometry_of_[object];
  if (geometry != kNone) return geometry;
  const Mesh &mesh = scene_.objects.items[object].mesh;
  const uint64_t hash = MeshHash(mesh);
  auto [first, last] = by_hash_.equal_range(hash);
  for (auto it = first; it != last; ++it) {
    const Geometry &candidate = geometries_[it->second];
    if (!SameMesh(scene_.objects.items[candidate.object].mesh, mesh)) continue;
    doc_.notes().Add(candidate.repairs);
    return geometry = it->second;
  }
  geometry = AddGeometry(object);
  by_hash_.emplace(hash, geometry);
  return geometry;
}

int32_t GltfMeshes::AddGeometry(int32_t object) {
  const Object &source = scene_.objects.items[object];
  const ExportNotes before = doc_.notes();
  FlatMesh flat = FlattenMesh(source.mesh, doc_.notes(), WellFormed(source));
  Geometry geometry;
  geometry.object = object;
  geometry.repairs = doc_.notes().Since(before);
  geometry.double_sided = DrawnDoubleSided(source.mesh);
  if (!flat.empty()) {
    Primitive shared;
    shared.position = doc_.AddFloatAccessor(std::move(flat.positions), 3, true);
    if (!flat.normals.empty()) shared.normal = doc_.AddFloatAccessor(std::move(flat.normals), 3, false);
    if (!flat.texcoords.empty()) shared.texcoord = doc_.AddFloatAccessor(std::move(flat.texcoords), 2, false);
    geometry.has_colors = !flat.colors.empty();
    if (geometry.has_colors) shared.color = doc_.AddFloatAccessor(std::move(flat.colors), 3, false);
    for (TriangleGroup &group : flat.groups) {
      Primitive primitive = shared;
      primitive.indices = doc_.AddIndexAccessor(std::move(group.indices));
      primitive.instance_surface = group.surface == kNone;
      if (!primitive.instance_surface)
        primitive.surface = scene_.surfaces.find_index(source.mesh.surface_names[group.surface]);
      geometry.uses_instance_surface = geometry.uses_instance_surface || primitive.instance_surface;
      geometry.primitives.push_back(primitive);
    }
  }
  geometries_.push_back(std::move(geometry));
  return static_cast<int32_t>(geometries_.size()) - 1;
}

int GltfMeshes::MaterialOf(int32_t surface, const Geometry &geometry) {
  if (surface != kNone) return materials_.ForSurface(surface, geometry.double_sided);
  return geometry.has_colors ? materials_.Default(geometry.double_sided) : -1;
}

int GltfMeshes::MeshFor(int32_t object, const std::string &instance_surface) {
  if (object < 0 || object >= static_cast<int32_t>(live_objects_.size()) || !live_objects_[object] ||
      !scene_.objects.items[object].defined)
    return -1;
  const int32_t geometry_index = GeometryOf(object);
  const Geometry &geometry = geometries_[geometry_index];
  if (geometry.primitives.empty()) return -1;
  const int instance_material = geometry.uses_instance_surface
                                    ? MaterialOf(scene_.surfaces.find_index(instance_surface), geometry)
                                    : kAnyInstanceMaterial;
  const uint64_t key = static_cast<uint64_t>(geometry_index) << 32 | static_cast<uint32_t>(instance_material + 2);
  auto [it, made] = meshes_.try_emplace(key, -1);
  if (made) it->second = WriteMesh(geometry, instance_material);
  return it->second;
}

int GltfMeshes::WriteMesh(const Geometry &geometry, int instance_material) {
  // The materials first: making one may write a texture, and the mesh is
  // written in one go.
  materials_scratch_.clear();
  for (const Primitive &p : geometry.primitives)
    materials_scratch_.push_back(p.instance_surface ? instance_material : MaterialOf(p.surface, geometry));
  int index = 0;
  JsonWriter &out = doc_.Item(GltfArray::kMeshes, &index);
  out.BeginObject();
  out.Field("name", scene_.objects.items[geometry.object].name);
  out.Key("primitives");
  out.BeginArray();
  for (size_t k = 0; k < geometry.primitives.size(); ++k) {
    const Primitive &p = geometry.primitives[k];
    out.BeginObject();
    out.Key("attributes");
    out.BeginObject();
    WriteAttribute(out, "POSITION", p.position);
    WriteAttribute(out, "NORMAL", p.normal);
    WriteAttribute(out, "TEXCOORD_0", p.texcoord);
    WriteAttribute(out, "COLOR_0", p.color);
    out.EndObject();
    out.Field("indices", p.indices);
    if (materials_scratch_[k] >= 0) out.Field("material", materials_scratch_[k]);
    out.EndObject();
  }
  out.EndArray();
  out.EndObject();
  return index;
}

}  // namespace kavrel
