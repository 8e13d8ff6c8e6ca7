// The export model's meshes as glTF meshes. A model mesh's vertex data and
// index lists are written once, as accessors; glTF puts materials on
// primitives, so each distinct material of the placements drawing the
// mesh's instance-surface group makes one glTF mesh over those accessors,
// which every node with that mesh and material references. Each group is
// a primitive: triangle groups first, then line groups (mode LINES) and
// point groups (mode POINTS), which take positions and colours only.
#ifndef KAVREL_EXPORT_GLTF_MESHES_H
#define KAVREL_EXPORT_GLTF_MESHES_H

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "kavrel/export/export_model.h"
#include "kavrel/export/gltf_document.h"
#include "kavrel/export/gltf_materials.h"

namespace kavrel {

class GltfMeshes {
 public:
  GltfMeshes(const ExportModel &model, GltfDocument &doc, GltfMaterials &materials);

  // The glTF mesh of what placement places, written on first use; -1 when
  // there is nothing to draw.
  int MeshFor(const ModelPlacement &placement);

 private:
  struct Accessors {
    int position = -1, normal = -1, texcoord = -1, color = -1;  // -1 for none
    std::vector<int> indices;                  // by group, in ForEachGroup's order
  };

  // The accessors of model.meshes[mesh], written on first use.
  const Accessors &AccessorsOf(int32_t mesh);
  // The glTF material of a model material on mesh; -1 for none.
  int MaterialOf(int32_t material, const ModelMesh &mesh);
  int WriteMesh(int32_t mesh, int32_t instance_material);

  const ExportModel &model_;
  GltfDocument &doc_;
  GltfMaterials &materials_;
  std::vector<Accessors> accessors_;           // by model mesh
  std::vector<uint8_t> written_;               // by model mesh: accessors written
  std::unordered_map<uint64_t, int> meshes_;   // (model mesh, instance material) -> glTF mesh
  std::vector<int> materials_scratch_;         // per primitive of the mesh being written
};

}  // namespace kavrel

#endif
