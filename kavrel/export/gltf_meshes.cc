#include "kavrel/export/gltf_meshes.h"

#include <algorithm>

#include "kavrel/export/face_sidedness.h"
#include "kavrel/export/mesh_flatten.h"
#include "kavrel/export/scene_walk.h"

namespace kavrel {
namespace {

// Meshes without a primitive on the instance's surface are the same for
// every instance: they share this key.
constexpr int kAnyInstanceMaterial = -2;

}  // namespace

GltfMeshes::GltfMeshes(const Scene &scene, GltfDocument &doc, GltfMaterials &materials)
    : scene_(scene), doc_(doc), materials_(materials), objects_(scene.objects.items.size()) {}

const GltfMeshes::WrittenObject &GltfMeshes::Written(int32_t index) {
  WrittenObject &out = objects_[index];
  if (out.written) return out;
  out.written = true;
  const Mesh &mesh = scene_.objects.items[index].mesh;
  FlatMesh flat = FlattenMesh(mesh, doc_.notes());
  if (flat.empty()) return out;
  Json attributes = {{"POSITION", doc_.AddFloatAccessor(std::move(flat.positions), 3, true)}};
  if (!flat.normals.empty()) attributes["NORMAL"] = doc_.AddFloatAccessor(std::move(flat.normals), 3, false);
  if (!flat.texcoords.empty()) attributes["TEXCOORD_0"] = doc_.AddFloatAccessor(std::move(flat.texcoords), 2, false);
  out.has_colors = !flat.colors.empty();
  out.double_sided = DrawnDoubleSided(mesh);
  if (out.has_colors) attributes["COLOR_0"] = doc_.AddFloatAccessor(std::move(flat.colors), 3, false);
  for (TriangleGroup &group : flat.groups) {
    Primitive primitive{attributes, doc_.AddIndexAccessor(std::move(group.indices)), kNone, group.surface == kNone};
    if (!primitive.instance_surface) {
      primitive.surface = scene_.surfaces.find_index(mesh.surface_names[group.surface]);
    }
    out.primitives.push_back(std::move(primitive));
  }
  return out;
}

int GltfMeshes::MaterialOf(int32_t surface, const WrittenObject &object) {
  if (surface != kNone) return materials_.ForSurface(surface, object.double_sided);
  return object.has_colors ? materials_.Default(object.double_sided) : -1;
}

int GltfMeshes::MeshFor(int32_t object, const std::string &instance_surface) {
  if (!IsLive(scene_.objects, object) || !scene_.objects.items[object].defined) return -1;
  const WrittenObject &written = Written(object);
  if (written.primitives.empty()) return -1;
  bool uses_instance = std::any_of(written.primitives.begin(), written.primitives.end(),
                                   [](const Primitive &p) { return p.instance_surface; });
  int instance_material =
      uses_instance ? MaterialOf(scene_.surfaces.find_index(instance_surface), written)
                    : kAnyInstanceMaterial;
  auto [it, made] = meshes_.try_emplace({object, instance_material}, -1);
  if (!made) return it->second;
  Json primitives = Json::array();
  for (const Primitive &p : written.primitives) {
    Json primitive = {{"attributes", p.attributes}, {"indices", p.indices}};
    int material = p.instance_surface ? instance_material : MaterialOf(p.surface, written);
    if (material >= 0) primitive["material"] = material;
    primitives.push_back(std::move(primitive));
  }
  it->second = doc_.Add("meshes", {{"name", scene_.objects.items[object].name}, {"primitives", std::move(primitives)}});
  return it->second;
}

}  // namespace kavrel
