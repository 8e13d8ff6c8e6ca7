#include "kavrel/export/fbx_plan.h"

#include <cmath>
#include <map>
#include <utility>

namespace kavrel {
namespace {

class FbxPlanner {
 public:
  FbxPlanner(const Host &host, const ExportModel &model, const std::string &output)
      : host_(host), model_(model), output_(output) {}

  FbxPlan Build();

 private:
  int64_t NextId() { return next_id_++; }
  void AddPlacement(size_t index);
  int32_t GeometryFor(const ModelPlacement &placement, const FbxTransform &transform);
  FbxGeometry NewGeometry(int32_t mesh, int32_t instance_material);
  void AddLight(size_t index);
  void AddCamera(size_t index);
  FbxModel &AddRootModel(const std::string &name, FbxModelKind kind, int32_t source);
  void AddMaterials();
  void AddTextures();
  void Connect();

  const Host &host_;
  const ExportModel &model_;
  const std::string &output_;
  FbxPlan plan_;
  int64_t next_id_ = kFbxFirstId;
  std::vector<int64_t> placement_ids_;         // by placement
  std::vector<Matrix> carried_;                // by placement: what its children take in front of their matrices
  std::map<std::pair<int32_t, int32_t>, int32_t> shared_;  // (mesh, instance material) -> geometry
};

FbxPlan FbxPlanner::Build() {
  for (size_t p = 0; p < model_.placements.size(); ++p) AddPlacement(p);
  for (size_t l = 0; l < model_.lights.size(); ++l) AddLight(l);
  for (size_t c = 0; c < model_.cameras.size(); ++c) AddCamera(c);
  AddMaterials();
  AddTextures();
  Connect();
  return std::move(plan_);
}

void FbxPlanner::AddPlacement(size_t index) {
  const ModelPlacement &placement = model_.placements[index];
  Matrix local = placement.local;
  if (placement.parent != kNone) local = common::MultiplyMatrix(local, carried_[placement.parent]);
  FbxModel out;
  out.name = placement.name;
  out.id = NextId();
  out.parent = placement.parent == kNone ? 0 : placement_ids_[placement.parent];
  out.transform = FbxTransformFor(local, plan_.notes);
  out.hidden = placement.hidden;
  // Line segments and points have no FBX form that the importers read: a
  // mesh of nothing else leaves its placement a "Null".
  if (placement.mesh != kNone && !model_.meshes[placement.mesh].flat.groups.empty()) {
    out.kind = FbxModelKind::kMesh;
    out.geometry = GeometryFor(placement, out.transform);
  }
  placement_ids_.push_back(out.id);
  carried_.push_back(out.transform.inner);
  plan_.models.push_back(std::move(out));
}

FbxGeometry FbxPlanner::NewGeometry(int32_t mesh, int32_t instance_material) {
  FbxGeometry geometry;
  geometry.id = NextId();
  geometry.mesh = mesh;
  for (const TriangleGroup &group : model_.meshes[mesh].flat.groups) {
    const int32_t material = group.material != kNone ? group.material : instance_material;
    size_t slot = 0;
    while (slot < geometry.materials.size() && geometry.materials[slot] != material) ++slot;
    if (slot == geometry.materials.size()) geometry.materials.push_back(material);
    geometry.slots.push_back(static_cast<int32_t>(slot));
    geometry.triangles += group.indices.size() / 3;
  }
  return geometry;
}

int32_t FbxPlanner::GeometryFor(const ModelPlacement &placement, const FbxTransform &transform) {
  const auto key = std::make_pair(placement.mesh, placement.instance_material);
  if (!transform.sheared) {
    if (auto it = shared_.find(key); it != shared_.end()) return it->second;
  }
  FbxGeometry geometry = NewGeometry(placement.mesh, placement.instance_material);
  geometry.rotated = transform.sheared;
  geometry.rotation = transform.inner;
  const auto index = static_cast<int32_t>(plan_.geometries.size());
  if (!transform.sheared) shared_.emplace(key, index);
  plan_.geometries.push_back(std::move(geometry));
  return index;
}

FbxModel &FbxPlanner::AddRootModel(const std::string &name, FbxModelKind kind, int32_t source) {
  FbxModel out;
  out.name = name;
  out.id = NextId();
  out.kind = kind;
  out.source = source;
  out.attribute = NextId();
  plan_.models.push_back(std::move(out));
  return plan_.models.back();
}

void FbxPlanner::AddLight(size_t index) {
  const ModelLight &light = model_.lights[index];
  if (light.kind == LightKind::kAmbient) {
    // FBX has no ambient light; the scene's ambient colour is its place.
    const float intensity = std::isfinite(light.intensity) ? light.intensity : 1.0f;
    for (int i = 0; i < 3; ++i) plan_.ambient[i] += plan_.notes.Finite(light.color[i]) * intensity;
    return;
  }
  FbxModel &out = AddRootModel(light.name, FbxModelKind::kLight, static_cast<int32_t>(index));
  ++plan_.lights;
  switch (light.kind) {
    case LightKind::kDirectional:
      out.transform = PlacedTransform({0, 0, 0}, LightFrame(common::Negated(light.towards)), plan_.notes);
      break;
    case LightKind::kSpot:
      out.transform = PlacedTransform(light.position, LightFrame(Sub(light.aim, light.position)), plan_.notes);
      break;
    default:
      out.transform = PlacedTransform(light.position, Frame{}, plan_.notes);
      break;
  }
}

void FbxPlanner::AddCamera(size_t index) {
  const ModelCamera &camera = model_.cameras[index];
  FbxModel &out = AddRootModel(camera.name, FbxModelKind::kCamera, static_cast<int32_t>(index));
  ++plan_.cameras;
  out.transform = PlacedTransform(camera.eye, CameraFrame(camera.eye, camera.target, camera.up), plan_.notes);
}

void FbxPlanner::AddMaterials() {
  plan_.material_ids.assign(model_.materials.size(), 0);
  for (const FbxGeometry &geometry : plan_.geometries) {
    for (int32_t material : geometry.materials) {
      if (plan_.material_ids[material] != 0) continue;
      plan_.material_ids[material] = NextId();
      plan_.materials.push_back(material);
    }
  }
}

void FbxPlanner::AddTextures() {
  plan_.copies = PlanTextureCopies(host_, model_, output_);
  plan_.texture_ids.assign(model_.textures.size(), 0);
  for (int32_t material : plan_.materials) {
    const int32_t texture = model_.materials[material].texture;
    if (texture != kNone && plan_.copies.by_texture[texture] != kNone && plan_.texture_ids[texture] == 0)
      plan_.texture_ids[texture] = NextId();
  }
  for (size_t copy = 0; copy < plan_.copies.copies.size(); ++copy) plan_.video_ids.push_back(NextId());
}

void FbxPlanner::Connect() {
  std::vector<FbxConnection> &out = plan_.connections;
  for (const FbxModel &model : plan_.models) out.push_back({model.id, model.parent});
  // A model's materials in the order its polygons count them.
  for (const FbxModel &model : plan_.models) {
    if (model.attribute != 0) out.push_back({model.attribute, model.id});
    if (model.geometry == kNone) continue;
    const FbxGeometry &geometry = plan_.geometries[model.geometry];
    out.push_back({geometry.id, model.id});
    for (int32_t material : geometry.materials) out.push_back({plan_.material_ids[material], model.id});
  }
  for (int32_t material : plan_.materials) {
    const int32_t texture = model_.materials[material].texture;
    if (texture != kNone && plan_.texture_ids[texture] != 0)
      out.push_back({plan_.texture_ids[texture], plan_.material_ids[material], "DiffuseColor"});
  }
  for (size_t texture = 0; texture < plan_.texture_ids.size(); ++texture) {
    if (plan_.texture_ids[texture] != 0)
      out.push_back({plan_.video_ids[plan_.copies.by_texture[texture]], plan_.texture_ids[texture]});
  }
}

}  // namespace

FbxPlan PlanFbx(const Host &host, const ExportModel &model, const std::string &output) {
  return FbxPlanner(host, model, output).Build();
}

std::string FbxName(const std::string &name, const char *fbx_class) {
  std::string out = name;
  out += '\0';
  out += '\x01';
  out += fbx_class;
  return out;
}

}  // namespace kavrel
