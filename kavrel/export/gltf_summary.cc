#include "kavrel/export/gltf_summary.h"

#include <set>

namespace kavrel {
namespace {

size_t SizeOf(const Json &json, const char *key) {
  auto it = json.find(key);
  return it == json.end() ? 0 : it->size();
}

}  // namespace

ExportSummary SummarizeGltf(GltfDocument &doc) {
  const Json &json = doc.json();
  ExportSummary summary;
  summary.nodes = SizeOf(json, "nodes");
  summary.meshes = SizeOf(json, "meshes");
  summary.materials = SizeOf(json, "materials");
  summary.textures = SizeOf(json, "textures");
  summary.cameras = SizeOf(json, "cameras");
  if (auto extensions = json.find("extensions"); extensions != json.end()) {
    if (auto lights = extensions->find("KHR_lights_punctual"); lights != extensions->end()) {
      summary.lights = SizeOf(*lights, "lights");
    }
  }
  std::set<int> index_accessors;
  if (auto meshes = json.find("meshes"); meshes != json.end()) {
    for (const Json &mesh : *meshes) {
      for (const Json &primitive : mesh.at("primitives")) index_accessors.insert(primitive.at("indices").get<int>());
    }
  }
  for (int accessor : index_accessors) summary.triangles += doc.AccessorCount(accessor) / 3;
  return summary;
}

}  // namespace kavrel
