// Materials: one per surface and sidedness that some placed mesh is drawn
// with, made in a fixed order (objects by index, each mesh's groups in
// order, a group drawn with the instances' surfaces once per distinct
// surface in order of first placement), with their textures.
#include <algorithm>
#include <cmath>

#include "kavrel/export/model_stages.h"

namespace kavrel {
namespace {

class MaterialTable {
 public:
  MaterialTable(const Scene &scene, ExportModel &model)
      : scene_(scene),
        model_(model),
        index_(2 * (scene.surfaces.items.size() + 1), kNone),
        texture_of_(scene.textures.items.size(), kNone) {}

  // The material of scene.surfaces.items[surface] (kNone: the default) on
  // meshes drawn on one side or both, made on first use.
  int32_t For(int32_t surface, bool double_sided);

 private:
  ModelMaterial Make(int32_t surface, bool double_sided);
  void LinkTexture(const Surface &surface, ModelMaterial &material);
  Vec3 Scaled(const Vec3 &color, float coeff);

  const Scene &scene_;
  ExportModel &model_;
  std::vector<int32_t> index_;                 // by 2 x (surface + 1) + double-sided: material; kNone until made
  std::vector<int32_t> texture_of_;            // by scene texture: model texture; kNone until used
};

int32_t MaterialTable::For(int32_t surface, bool double_sided) {
  int32_t &index = index_[2 * (surface + 1) + double_sided];
  if (index == kNone) {
    index = static_cast<int32_t>(model_.materials.size());
    model_.materials.push_back(Make(surface, double_sided));
  }
  return index;
}

Vec3 MaterialTable::Scaled(const Vec3 &color, float coeff) {
  Vec3 out;
  for (int i = 0; i < 3; ++i) out[i] = std::clamp(model_.repairs.Finite(color[i] * coeff), 0.0f, 1.0f);
  return out;
}

ModelMaterial MaterialTable::Make(int32_t surface, bool double_sided) {
  static const Surface kWhite = [] {
    Surface white;
    white.name = "default";
    white.diffuse_color = {1, 1, 1};
    return white;
  }();
  const Surface &s = surface == kNone ? kWhite : scene_.surfaces.items[surface];
  ModelMaterial material;
  material.surface = surface;
  material.double_sided = double_sided;
  material.name = s.name;
  material.distinct_name = s.name;
  // Formats that find materials by name would merge the two sidednesses.
  if (index_[2 * (surface + 1) + !double_sided] != kNone)
    material.distinct_name += double_sided ? " double-sided" : " single-sided";
  material.diffuse = Scaled(s.diffuse_color, s.diffuse_coeff);
  material.specular = Scaled(s.specular_color, s.specular_coeff);
  material.emissive = Scaled(s.luminous_color, s.luminous_coeff);
  material.ambient = Scaled(s.ambient_color, 1.0f);
  material.opacity = std::clamp(model_.repairs.Finite(s.opacity, 1.0f), 0.0f, 1.0f);
  const bool exact = std::isfinite(s.phong_exponent) && s.phong_exponent >= 0;
  material.shininess = exact ? s.phong_exponent : static_cast<float>(std::max(s.phong_shininess, 0));
  if (surface != kNone) LinkTexture(s, material);
  return material;
}

// The first enabled layer that links an enabled texture; a link to a
// texture the scene does not hold is reported and skipped.
void MaterialTable::LinkTexture(const Surface &surface, ModelMaterial &material) {
  for (const TextureLayer &layer : surface.layers) {
    if (!layer.enabled || layer.texture.empty()) continue;
    const int32_t texture = scene_.textures.find_index(layer.texture);
    if (texture == kNone) {
      model_.warnings.push_back("export: surface '" + surface.name + "' links the unknown texture '" + layer.texture +
                          "'; the surface keeps its colours");
      continue;
    }
    if (!scene_.textures.items[texture].enabled) continue;
    if (texture_of_[texture] == kNone) {
      texture_of_[texture] = static_cast<int32_t>(model_.textures.size());
      model_.textures.push_back({texture, scene_.textures.items[texture]});
    }
    material.texture = texture_of_[texture];
    material.texture_alpha_opacity = layer.alpha_modulates_opacity;
    return;
  }
}

// Per model object: the distinct surfaces of the instances placing it, in
// order of first placement.
std::vector<std::vector<int32_t>> InstanceSurfaces(const Scene &scene, const ExportModel &model) {
  std::vector<std::vector<int32_t>> surfaces(model.objects.size());
  for (const ModelPlacement &placement : model.placements) {
    if (placement.object == kNone) continue;
    const int32_t surface = scene.surfaces.find_index(scene.instances.items[placement.instance].surface);
    std::vector<int32_t> &list = surfaces[placement.object];
    if (std::find(list.begin(), list.end(), surface) == list.end()) list.push_back(surface);
  }
  return surfaces;
}

}  // namespace

void AddMaterials(const Scene &scene, ExportModel &model) {
  MaterialTable table(scene, model);
  const std::vector<std::vector<int32_t>> instance_surfaces = InstanceSurfaces(scene, model);
  for (size_t o = 0; o < model.objects.size(); ++o) {
    ModelObject &object = model.objects[o];
    if (object.mesh == kNone) continue;
    ModelMesh &mesh = model.meshes[object.mesh];
    const std::vector<std::string> &names = scene.objects.items[object.scene_object].mesh.surface_names;
    ForEachGroup(mesh.flat, [&](PrimitiveKind, PrimitiveGroup &group) {
      if (group.surface != kNone) {
        group.material = table.For(scene.surfaces.find_index(names[group.surface]), mesh.double_sided);
        return;
      }
      // Once per object, when its first group drawn with the instance's surface comes.
      if (!object.instance_materials.empty()) return;
      for (int32_t surface : instance_surfaces[o])
        object.instance_materials.push_back(table.For(surface, mesh.double_sided));
    });
  }
  for (ModelPlacement &placement : model.placements) {
    if (placement.mesh == kNone || !model.meshes[placement.mesh].instance_surface) continue;
    const int32_t surface = scene.surfaces.find_index(scene.instances.items[placement.instance].surface);
    placement.instance_material = table.For(surface, model.meshes[placement.mesh].double_sided);
  }
  // Formats with materials want at least one, even for a scene without meshes.
  if (model.materials.empty()) table.For(kNone, true);
}

}  // namespace kavrel
