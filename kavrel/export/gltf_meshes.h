// Host objects as glTF meshes. An object's vertex data and index lists are
// written once; glTF puts materials on primitives, so an object placed by
// instances with different surfaces becomes one mesh per distinct instance
// material, all sharing those accessors.
#ifndef KAVREL_EXPORT_GLTF_MESHES_H
#define KAVREL_EXPORT_GLTF_MESHES_H

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "kavrel/export/gltf_document.h"
#include "kavrel/export/gltf_materials.h"
#include "kavrel/toolkit/scene.h"

namespace kavrel {

class GltfMeshes {
 public:
  GltfMeshes(const Scene &scene, GltfDocument &doc, GltfMaterials &materials);

  // The mesh of scene.objects.items[object] placed by an instance whose
  // linked surface is instance_surface; -1 when there is nothing to draw
  // (no such object, not yet ended, or no triangles).
  int MeshFor(int32_t object, const std::string &instance_surface);

 private:
  struct Primitive {
    Json attributes;
    int indices = -1;                          // index accessor
    int32_t surface = kNone;                   // scene surface of per-face groups; unused for the instance's group
    bool instance_surface = false;             // drawn with the placing instance's surface
  };
  struct WrittenObject {
    bool written = false;
    bool has_colors = false;
    bool double_sided = true;                  // back faces may show: see DrawnDoubleSided
    std::vector<Primitive> primitives;
  };

  const WrittenObject &Written(int32_t object);
  int MaterialOf(int32_t surface, const WrittenObject &object);

  const Scene &scene_;
  GltfDocument &doc_;
  GltfMaterials &materials_;
  std::vector<WrittenObject> objects_;                       // by object index
  std::map<std::pair<int32_t, int>, int> meshes_;            // (object, instance material) -> mesh
};

}  // namespace kavrel

#endif
