#include "kavrel/export/export_notes.h"
#include "kavrel/export/gltf_materials.h"
#include "kavrel/export/gltf_stages.h"

namespace kavrel {

void BuildGltf(const Host &host, const ExportModel &model, GltfDocument &doc) {
  GltfMaterials materials(host, model, doc);
  GltfMeshes meshes(model, doc, materials);
  std::vector<int> roots = AddPlacementNodes(model, doc, meshes);
  AddLightNodes(model, doc, &roots);
  AddCameraNodes(model, doc, &roots);
  int scene = 0;
  JsonWriter &out = doc.Item(GltfArray::kScenes, &scene);
  out.BeginObject();
  if (!roots.empty()) {
    out.Key("nodes");
    out.BeginArray();
    for (int root : roots) out.Integer(root);
    out.EndArray();
  }
  out.EndObject();
}

}  // namespace kavrel
