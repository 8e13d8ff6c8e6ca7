#include "kavrel/export/gltf_meshes.h"

#include <algorithm>

#include "kavrel/export/prepared_meshes.h"
#include "kavrel/export/scene_walk.h"
#include "kavrel/mesh/mesh_ops.h"
#include "kavrel/mesh/parallel_tasks.h"

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
      geometry_of_(scene.objects.items.size(), kNone),
      representative_of_(scene.objects.items.size(), kNone),
      prepared_of_(scene.objects.items.size(), kNone) {}

bool GltfMeshes::Placeable(int32_t object) const {
  return object >= 0 && object < static_cast<int32_t>(live_objects_.size()) && live_objects_[object] &&
         scene_.objects.items[object].defined;
}

std::vector<int32_t> GltfMeshes::FindRepresentatives(const std::vector<int32_t> &objects) {
  std::vector<int32_t> fresh;                  // placeable objects not prepared before, each once
  for (int32_t object : objects) {
    if (!Placeable(object) || representative_of_[object] != kNone) continue;
    representative_of_[object] = object;       // for now: marks it taken
    fresh.push_back(object);
  }
  std::vector<uint64_t> hashes(fresh.size());
  RunTasks(fresh.size(), [&](size_t k) { hashes[k] = MeshHash(scene_.objects.items[fresh[k]].mesh); });
  std::vector<int32_t> representatives;
  for (size_t k = 0; k < fresh.size(); ++k) {
    const Mesh &mesh = scene_.objects.items[fresh[k]].mesh;
    auto [first, last] = representative_by_hash_.equal_range(hashes[k]);
    auto same = std::find_if(first, last, [&](const auto &candidate) {
      return SameMesh(scene_.objects.items[candidate.second].mesh, mesh);
    });
    if (same != last) {
      representative_of_[fresh[k]] = same->second;
      continue;
    }
    representative_by_hash_.emplace(hashes[k], fresh[k]);
    representatives.push_back(fresh[k]);
  }
  return representatives;
}

void GltfMeshes::Prepare(const std::vector<int32_t> &objects) {
  const std::vector<int32_t> representatives = FindRepresentatives(objects);
  const size_t first = prepared_.size();
  prepared_.resize(first + representatives.size());
  for (size_t k = 0; k < representatives.size(); ++k) prepared_of_[representatives[k]] = first + k;
  PrepareMeshes(scene_, representatives, prepared_.data() + first);
}

int32_t GltfMeshes::GeometryOf(int32_t object) {
  if (geometry_of_[object] != kNone) return geometry_of_[object];
  if (representative_of_[object] == kNone) Prepare({object});
  const int32_t representative = representative_of_[object];
  if (geometry_of_[representative] == kNone) {
    // The representative is placed first: this is it.
    return geometry_of_[object] = AddGeometry(object, prepared_[prepared_of_[object]]);
  }
  const int32_t geometry = geometry_of_[representative];
  doc_.notes().Add(geometries_[geometry].repairs);
  return geometry_of_[object] = geometry;
}

int32_t GltfMeshes::AddGeometry(int32_t object, PreparedMesh &prepared) {
  const Object &source = scene_.objects.items[object];
  doc_.notes().Add(prepared.repairs);
  FlatMesh flat = std::move(prepared.flat);
  Geometry geometry;
  geometry.object = object;
  geometry.repairs = prepared.repairs;
  geometry.double_sided = prepared.double_sided;
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
  if (!Placeable(object)) return -1;
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
