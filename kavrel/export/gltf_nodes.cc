#include "kavrel/export/gltf_stages.h"
#include "kavrel/export/node_transform.h"

namespace kavrel {
namespace {

// Where an instance's nodes sit in the nodes array.
struct InstanceNodes {
  int attach;                                  // listed by the parent
  int content;                                 // holds the mesh and the children
};

// The content nodes' children, all in one array: placement p's are
// nodes[first[p]] up to nodes[first[p + 1]], in attach order.
struct ChildLists {
  std::vector<int32_t> first;
  std::vector<int> nodes;
};

ChildLists ContentChildren(const std::vector<ModelPlacement> &placements, const std::vector<InstanceNodes> &nodes) {
  ChildLists lists;
  lists.first.assign(placements.size() + 1, 0);
  for (const ModelPlacement &placement : placements)
    if (placement.parent != kNone) ++lists.first[placement.parent + 1];
  for (size_t p = 0; p < placements.size(); ++p) lists.first[p + 1] += lists.first[p];
  lists.nodes.resize(lists.first.back());
  std::vector<int32_t> next(lists.first.begin(), lists.first.end() - 1);
  for (size_t p = 0; p < placements.size(); ++p)
    if (placements[p].parent != kNone) lists.nodes[next[placements[p].parent]++] = nodes[p].attach;
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
void WriteInstanceNodes(GltfDocument &doc, const ModelPlacement &placement, const NodeTransform &t, int mesh,
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
  out.Field("name", placement.name);
  if (t.kind == NodeTransform::Kind::kMatrix) WriteFloats(out, "matrix", t.matrix.data(), 16);
  if (placement.hidden) {
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

std::vector<int> AddPlacementNodes(const ExportModel &model, GltfDocument &doc, GltfMeshes &meshes) {
  // Node indices are known before any node is written, so that each node
  // is written once, complete with its children.
  const std::vector<ModelPlacement> &placements = model.placements;
  std::vector<NodeTransform> transforms;
  std::vector<InstanceNodes> nodes;
  transforms.reserve(placements.size());
  nodes.reserve(placements.size());
  std::vector<int> roots;
  int next = doc.Count(GltfArray::kNodes);
  for (const ModelPlacement &placement : placements) {
    transforms.push_back(NodeTransformFor(placement.local, doc.notes()));
    const bool split = transforms.back().kind == NodeTransform::Kind::kSplit;
    nodes.push_back(split ? InstanceNodes{next + 1, next} : InstanceNodes{next, next});
    next += split ? 2 : 1;
    if (placement.parent == kNone) roots.push_back(nodes.back().attach);
  }
  const ChildLists children = ContentChildren(placements, nodes);
  for (size_t p = 0; p < placements.size(); ++p) {
    const int32_t first = children.first[p];
    WriteInstanceNodes(doc, placements[p], transforms[p], meshes.MeshFor(placements[p]),
                       children.nodes.data() + first, children.first[p + 1] - first);
  }
  return roots;
}

JsonWriter &BeginPlacedNode(GltfDocument &doc, const std::string &name, const Vec3 &position, const Frame &frame,
                            int *index) {
  Vec3 p;
  for (int i = 0; i < 3; ++i) p[i] = doc.notes().Finite(position[i]);
  const Quaternion q = QuaternionFromFrame(frame);
  JsonWriter &out = doc.Item(GltfArray::kNodes, index);
  out.BeginObject();
  out.Field("name", name);
  if (p != Vec3{0, 0, 0}) WriteFloats(out, "translation", p.data(), 3);
  if (q != Quaternion{0, 0, 0, 1}) WriteFloats(out, "rotation", q.data(), 4);
  return out;
}

}  // namespace kavrel
