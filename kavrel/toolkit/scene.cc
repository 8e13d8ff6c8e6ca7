// The scene database: the state of a new scene, and what is worked out
// from it.
#include "kavrel/toolkit/scene.h"

#include "kavrel/mesh/mesh_ops.h"

namespace kavrel {

Scene::Scene() {
  instances.get_or_add("world");  // index 0: the root every instance hangs below

  // A host without a window still has its display driver; it accepts images
  // and shows nothing. Importers look for "Windows v3." in the description to
  // decide whether a preview window exists, so this one must not say so.
  OutputDriver &display = drivers.get_or_add("driver1");
  display.kind = "display";
  display.description = "Stand-alone display (no window)";
  display.enabled = false;

  options["confirm overwrites enabled"] = "on";
}

bool WellFormed(const Object &object) { return object.checked || CheckMesh(object.mesh, nullptr); }

Matrix WorldMatrix(const Scene &scene, int32_t instance) {
  // Row vectors: a point of the instance reaches the world through its own
  // matrix first, then each parent's, so world = local x parent x ... x root.
  Matrix world = IdentityMatrix();
  const auto &items = scene.instances.items;
  for (int32_t at = instance; at >= 0 && at < static_cast<int32_t>(items.size()); at = items[at].parent) {
    world = MultiplyMatrix(world, items[at].matrix);
  }
  return world;
}

}  // namespace kavrel
