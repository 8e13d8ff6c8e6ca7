// The instance tree as placements, and the objects they place.
#include "kavrel/export/model_stages.h"
#include "kavrel/export/scene_walk.h"

namespace kavrel {
namespace {

Matrix FiniteMatrix(const Matrix &m, ExportNotes &notes) {
  const Matrix identity = IdentityMatrix();
  Matrix out;
  for (int i = 0; i < 16; ++i) out[i] = notes.Finite(m[i], identity[i]);
  return out;
}

// The sign of the linear part's determinant (rows are the images of the axes).
bool Mirrors(const Matrix &m) {
  const Vec3 x{m[0], m[1], m[2]}, y{m[4], m[5], m[6]}, z{m[8], m[9], m[10]};
  return Dot(x, Cross(y, z)) < 0;
}

}  // namespace

void AddPlacements(const Scene &scene, ExportModel &model) {
  const std::vector<HierarchyEntry> walk = WalkHierarchy(scene);
  const std::vector<uint8_t> live = LiveSlots(scene.objects);
  // By object index: placed by some placement (then its index in model.objects).
  std::vector<int32_t> placed(scene.objects.items.size(), kNone);
  model.placements.reserve(walk.size());
  for (const HierarchyEntry &entry : walk) {
    const Instance &instance = scene.instances.items[entry.instance];
    ModelPlacement placement;
    placement.name = instance.name;
    placement.instance = entry.instance;
    placement.parent = entry.parent;
    placement.local = FiniteMatrix(instance.matrix, model.repairs);
    placement.world = entry.parent == kNone ? placement.local
                                            : MultiplyMatrix(placement.local, model.placements[entry.parent].world);
    placement.mirrors = Mirrors(placement.world);
    placement.hidden = instance.hidden;
    const int32_t object = instance.object;
    if (object >= 0 && object < static_cast<int32_t>(live.size()) && live[object] &&
        scene.objects.items[object].defined) {
      placed[object] = 0;
      placement.object = object;               // the scene's index until the objects are numbered
    }
    model.placements.push_back(std::move(placement));
  }
  for (int32_t object = 0; object < static_cast<int32_t>(placed.size()); ++object) {
    if (placed[object] == kNone) continue;
    placed[object] = static_cast<int32_t>(model.objects.size());
    model.objects.push_back({scene.objects.items[object].name, object, kNone, true, {}});
  }
  for (ModelPlacement &placement : model.placements) {
    if (placement.object == kNone) continue;
    placement.object = placed[placement.object];
    ModelObject &object = model.objects[placement.object];
    object.culled = object.culled && scene.instances.items[placement.instance].cull_back_faces;
  }
}

}  // namespace kavrel
