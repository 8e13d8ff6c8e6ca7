#include "kavrel/export/gltf_stages.h"
#include "kavrel/export/node_transform.h"
#include "kavrel/export/scene_walk.h"

namespace kavrel {
namespace {

// Where an instance's nodes sit in the nodes array.
struct InstanceNodes {
  int attach;                                  // listed by the parent
  int content;                                 // holds the mesh and the children
};

// The content nodes' children, all in one array: walk entry e's are
// nodes[first[e]] up to nodes[first[e + 1]], in attach order.
struct ChildLists {
  std::vector<int32_t> first;
  std::vector<int> nodes;
};

ChildLists ContentChildren(const std::vector<HierarchyEntry> &walk, const std::vector<InstanceNodes> &nodes) {
  ChildLists lists;
  lists.first.assign(walk.size() + 1, 0);
  for (const HierarchyEntry &entry : walk)
    if (entry.parent != kNone) ++lists.first[entry.parent + 1];
  for (size_t e = 0; e < walk.size(); ++e) lists.first[e + 1] += lists.first[e];
  lists.nodes.resize(lists.first.back());
  std::vector<int32_t> next(lists.first.begin(), lists.first.end() - 1);
  for (size_t e = 0; e < walk.size(); ++e)
    if (walk[e].parent != kNone) lists.nodes[next[walk[e].parent]++] = nodes[e].attach;
  return lists;
}

void WriteFloats(JsonWriter &out, const char *key, const float *values, size_t count) {
  out.Key(key);
  out.Floats(values, count);
}

// The members of the node that carries the mesh and the children.
void WriteContent(JsonWriter &out, int mesh, const int *children, size_t count) {
  if (mesh >= 0) out.Field("mesh", mesh);
  if (count == 0) return;
  out.Key("children");
  out.BeginArray();
  for (size_t i = 0; i < count; ++i) out.Integer(children[i]);
  out.EndArray();
}

// One instance's node, or an outer and an inner node when the matrix has
// shear (the inner one first, so that the outer one can list it).
void WriteInstanceNodes(GltfDocument &doc, const Instance &instance, const NodeTransform &t, int mesh,
                        const int *children, size_t count) {
  int index = 0;
  if (t.kind == NodeTransform::Kind::kSplit) {
    JsonWriter &inner = doc.Item(GltfArray::kNodes, &index);
    inner.BeginObject();
    WriteFloats(inner, "rotation", t.inner_rotation.data(), 4);
    WriteContent(inner, mesh, children, count);
    inner.EndObject();
  }
  JsonWriter &out = doc.Item(GltfArray::kNodes, &index);
  out.BeginObject();
  out.Field("name", instance.name);
  if (t.kind == NodeTransform::Kind::kMatrix) WriteFloats(out, "matrix", t.matrix.data(), 16);
  if (instance.hidden) {
    out.Key("extras");
    out.BeginObject();
    out.Field("hidden", true);
    out.EndObject();
  }
  if (t.kind == NodeTransform::Kind::kSplit) {
    WriteFloats(out, "translation", t.translation.data(), 3);
    WriteFloats(out, "rotation", t.rotation.data(), 4);
    WriteFloats(out, "scale", t.scale.data(), 3);
    const int inner = index - 1;
    WriteContent(out, -1, &inner, 1);
  } else {
    WriteContent(out, mesh, children, count);
  }
  out.EndObject();
}

}  // namespace

std::vector<int> AddInstanceNodes(const Scene &scene, GltfDocument &doc, GltfMeshes &meshes) {
  // Node indices are known before any node is written, so that each node
  // is written once, complete with its children.
  const std::vector<HierarchyEntry> walk = WalkHierarchy(scene);
  std::vector<NodeTransform> transforms;
  std::vector<InstanceNodes> nodes;
  transforms.reserve(walk.size());
  nodes.reserve(walk.size());
  std::vector<int> roots;
  int next = doc.Count(GltfArray::kNodes);
  for (const HierarchyEntry &entry : walk) {
    transforms.push_back(NodeTransformFor(scene.instances.items[entry.instance].matrix, doc.notes()));
    const bool split = transforms.back().kind == NodeTransform::Kind::kSplit;
    nodes.push_back(split ? InstanceNodes{next + 1, next} : InstanceNodes{next, next});
    next += split ? 2 : 1;
    if (entry.parent == kNone) roots.push_back(nodes.back().attach);
  }
  const ChildLists children = ContentChildren(walk, nodes);
  std::vector<int32_t> objects;
  objects.reserve(walk.size());
  for (const HierarchyEntry &entry : walk) objects.push_back(scene.instances.items[entry.instance].object);
  meshes.Prepare(objects);
  for (size_t e = 0; e < walk.size(); ++e) {
    const Instance &instance = scene.instances.items[walk[e].instance];
    const int mesh = instance.object == kNone ? -1 : meshes.MeshFor(instance.object, instance.surface);
    const int32_t first = children.first[e];
    WriteInstanceNodes(doc, instance, transforms[e], mesh, children.nodes.data() + first,
                       children.first[e + 1] - first);
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
