#include "kavrel/export/export_notes.h"
#include "kavrel/export/gltf_materials.h"
#include "kavrel/export/gltf_stages.h"

namespace kavrel {

void BuildGltf(const Host &host, GltfDocument &doc) {
  const Scene &scene = host.scene();
  GltfMaterials materials(host, doc);
  GltfMeshes meshes(scene, doc, materials);
  std::vector<int> roots = AddInstanceNodes(scene, doc, meshes);
  AddLightNodes(scene, doc, &roots);
  AddCameraNodes(scene, doc, &roots);
  Json root_scene = Json::object();
  if (!roots.empty()) root_scene["nodes"] = roots;
  doc.Add(GltfArray::kScenes, root_scene);
  doc.json()["scene"] = 0;
  std::string summary = doc.notes().Summary();
  if (!summary.empty()) ReportExportWarning(host, summary);
}

}  // namespace kavrel
