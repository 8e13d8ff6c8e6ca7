#include "kavrel/export/gltf_stages.h"
#include "kavrel/export/node_transform.h"
#include "kavrel/export/scene_walk.h"

namespace kavrel {
namespace {

struct InstanceNodes {
  int attach;                                  // listed by the parent
  int content;                                 // holds the mesh and the children
};

// One node, or two nested ones when the matrix has shear.
InstanceNodes AddTransformNodes(const Instance &instance, GltfDocument &doc) {
  Json node = {{"name", instance.name}};
  NodeTransform t = NodeTransformFor(instance.matrix, doc.notes());
  if (t.kind == NodeTransform::Kind::kMatrix) node["matrix"] = t.matrix;
  if (instance.hidden) node["extras"] = {{"hidden", true}};
  if (t.kind != NodeTransform::Kind::kSplit) {
    int index = doc.Add("nodes", std::move(node));
    return {index, index};
  }
  node["translation"] = t.translation;
  node["rotation"] = t.rotation;
  node["scale"] = t.scale;
  int inner = doc.Add("nodes", {{"rotation", t.inner_rotation}});
  node["children"] = {inner};
  return {doc.Add("nodes", std::move(node)), inner};
}

}  // namespace

std::vector<int> AddInstanceNodes(const Scene &scene, GltfDocument &doc, GltfMeshes &meshes) {
  std::vector<HierarchyEntry> walk = WalkHierarchy(scene);
  std::vector<InstanceNodes> nodes;
  nodes.reserve(walk.size());
  std::vector<int> roots;
  for (const HierarchyEntry &entry : walk) {
    const Instance &instance = scene.instances.items[entry.instance];
    InstanceNodes made = AddTransformNodes(instance, doc);
    nodes.push_back(made);
    int mesh = instance.object == kNone ? -1 : meshes.MeshFor(instance.object, instance.surface);
    if (mesh >= 0) doc.json()["nodes"][made.content]["mesh"] = mesh;
    if (entry.parent == kNone) {
      roots.push_back(made.attach);
    } else {
      doc.json()["nodes"][nodes[entry.parent].content]["children"].push_back(made.attach);
    }
  }
  return roots;
}

Json PlacedNode(const std::string &name, const Vec3 &position, const Frame &frame, ExportNotes &notes) {
  Json node = {{"name", name}};
  Vec3 p;
  for (int i = 0; i < 3; ++i) p[i] = notes.Finite(position[i]);
  if (p != Vec3{0, 0, 0}) node["translation"] = p;
  Quaternion q = QuaternionFromFrame(frame);
  if (q != Quaternion{0, 0, 0, 1}) node["rotation"] = q;
  return node;
}

}  // namespace kavrel
