// Instances become nodes: names, matrices in glTF's storage order, hidden
// marks, removed subtrees left out, sheared matrices split into valid nodes.
#include <gtest/gtest.h>

#include "export_fixtures.h"

namespace kavrel_test {
namespace {

// glTF's column-major matrix, or its translation x rotation x scale, applied to a point.
Vec3 ApplyNode(const json &node, Vec3 v) {
  if (node.contains("matrix")) {
    const json &m = node["matrix"];
    Vec3 out;
    for (int r = 0; r < 3; ++r) {
      out[r] = m[r].get<float>() * v[0] + m[4 + r].get<float>() * v[1] + m[8 + r].get<float>() * v[2] + m[12 + r].get<float>();
    }
    return out;
  }
  for (int i = 0; i < 3 && node.contains("scale"); ++i) v[i] *= node["scale"][i].get<float>();
  if (node.contains("rotation")) v = Rotate(node["rotation"], v);
  for (int i = 0; i < 3 && node.contains("translation"); ++i) v[i] += node["translation"][i].get<float>();
  return v;
}

// The host's rule: p' = p x M with row vectors.
TEST(GltfHierarchy, InstancesBecomeNodesWithTheirMatricesAndMarks) {
  kavrel::Host host;
  Scene &s = host.scene();
  BuildHierarchyScene(s);
  GltfFile file = ExportGlb(host, "hierarchy");
  std::vector<std::string> roots;
  for (int n : file.doc["scenes"][0]["nodes"]) roots.push_back(file.doc["nodes"][n]["name"]);
  EXPECT_EQ(roots, (std::vector<std::string>{"group", "hidden", "sheared"}));  // "gone" is removed

  const json &group = NodeNamed(file, "group"), &shape = NodeNamed(file, "shape");
  ASSERT_EQ(group["children"].size(), 2u);
  EXPECT_EQ(file.doc["nodes"][group["children"][0].get<int>()]["name"], "shape");
  EXPECT_FALSE(NodeNamed(file, "plain").contains("matrix"));  // identity omitted
  EXPECT_EQ(NodeNamed(file, "hidden")["extras"]["hidden"], true);
  EXPECT_FALSE(shape.contains("extras"));
  EXPECT_TRUE(shape.contains("mesh"));

  // A point of the shape lands where the host's row-vector matrices put it.
  Vec3 through_gltf = ApplyNode(group, ApplyNode(shape, {1, 0, 0}));
  ExpectNear(through_gltf, kavrel::TransformPoint(kavrel::WorldMatrix(s, s.instances.find_index("shape")), Vec3{1, 0, 0}));
  ExpectNear(through_gltf, {1, 3, 8});

  // A sheared matrix: an outer node without a matrix and an inner one, exact together.
  const json &outer = NodeNamed(file, "sheared");
  EXPECT_FALSE(outer.contains("matrix"));
  ASSERT_EQ(outer["children"].size(), 1u);
  const json &inner = file.doc["nodes"][outer["children"][0].get<int>()];
  const kavrel::Matrix &m = s.instances.find("sheared")->matrix;
  for (const Vec3 &p : {Vec3{1, 0, 0}, Vec3{0, 1, 0}, Vec3{0, 0, 1}, Vec3{1, 2, 3}}) {
    ExpectNear(ApplyNode(outer, ApplyNode(inner, p)), kavrel::TransformPoint(m, p));
  }
}

}  // namespace
}  // namespace kavrel_test
