// The placed objects' distinct meshes. Objects whose host meshes are the
// same byte for byte (MeshHash finds candidates, SameMesh confirms, so a
// hash collision never merges two meshes) and that agree on culling share
// one mesh, named after the first object placed with it; each distinct
// mesh is prepared once. A culled object's mesh is single-sided.
#include <unordered_map>

#include "kavrel/export/model_stages.h"
#include "kavrel/export/prepared_meshes.h"
#include "kavrel/mesh/mesh_ops.h"
#include "kavrel/mesh/parallel_tasks.h"

namespace kavrel {
namespace {

// The model's objects in order of first placement.
std::vector<int32_t> ObjectsInPlacingOrder(const ExportModel &model) {
  std::vector<int32_t> order;
  std::vector<uint8_t> seen(model.objects.size(), 0);
  for (const ModelPlacement &placement : model.placements) {
    if (placement.object == kNone || seen[placement.object]) continue;
    seen[placement.object] = 1;
    order.push_back(placement.object);
  }
  return order;
}

// Sets (*geometry_of)[object] for every model object to its index in the
// returned list: the scene indices of the first objects placed with each
// distinct host mesh and culling, whose culling goes to *culled.
std::vector<int32_t> FindRepresentatives(const Scene &scene, const ExportModel &model,
                                         std::vector<int32_t> *geometry_of, std::vector<uint8_t> *culled) {
  const std::vector<int32_t> order = ObjectsInPlacingOrder(model);
  auto mesh_of = [&](int32_t scene_object) -> const Mesh & { return scene.objects.items[scene_object].mesh; };
  std::vector<uint64_t> hashes(order.size());
  RunTasks(order.size(), [&](size_t k) { hashes[k] = MeshHash(mesh_of(model.objects[order[k]].scene_object)); });
  std::vector<int32_t> representatives;
  std::unordered_multimap<uint64_t, int32_t> by_hash;  // MeshHash -> index into representatives
  geometry_of->assign(model.objects.size(), kNone);
  for (size_t k = 0; k < order.size(); ++k) {
    const ModelObject &object = model.objects[order[k]];
    const int32_t scene_object = object.scene_object;
    auto [first, last] = by_hash.equal_range(hashes[k]);
    for (; first != last; ++first) {
      const int32_t other = representatives[first->second];
      if ((*culled)[first->second] == object.culled && SameMesh(mesh_of(other), mesh_of(scene_object))) break;
    }
    if (first != last) {
      (*geometry_of)[order[k]] = first->second;
      continue;
    }
    (*geometry_of)[order[k]] = static_cast<int32_t>(representatives.size());
    by_hash.emplace(hashes[k], static_cast<int32_t>(representatives.size()));
    representatives.push_back(scene_object);
    culled->push_back(object.culled);
  }
  return representatives;
}

// Each list of groups starts with the instance's surface's, if it has one.
bool DrawsInstanceSurface(const FlatMesh &flat) {
  for (PrimitiveKind kind : kPrimitiveKinds) {
    const std::vector<PrimitiveGroup> &groups = flat.GroupsOf(kind);
    if (!groups.empty() && groups.front().surface == kNone) return true;
  }
  return false;
}

}  // namespace

void AddMeshes(const Scene &scene, ExportModel &model) {
  std::vector<int32_t> geometry_of;
  std::vector<uint8_t> culled;
  const std::vector<int32_t> representatives = FindRepresentatives(scene, model, &geometry_of, &culled);
  std::vector<PreparedMesh> prepared(representatives.size());
  PrepareMeshes(scene, representatives, prepared.data());
  std::vector<int32_t> mesh_of(representatives.size(), kNone);
  for (size_t g = 0; g < representatives.size(); ++g) {
    PreparedMesh &source = prepared[g];
    if (source.flat.empty()) continue;
    mesh_of[g] = static_cast<int32_t>(model.meshes.size());
    ModelMesh mesh;
    mesh.name = scene.objects.items[representatives[g]].name;
    mesh.instance_surface = DrawsInstanceSurface(source.flat);
    mesh.flat = std::move(source.flat);
    mesh.double_sided = source.double_sided && !culled[g];
    mesh.repairs = source.repairs;
    model.meshes.push_back(std::move(mesh));
  }
  // Repairs count as if each object were written on its own.
  for (size_t o = 0; o < model.objects.size(); ++o) {
    model.objects[o].mesh = mesh_of[geometry_of[o]];
    model.repairs.Add(prepared[geometry_of[o]].repairs);
  }
  for (ModelPlacement &placement : model.placements)
    if (placement.object != kNone) placement.mesh = model.objects[placement.object].mesh;
}

}  // namespace kavrel
