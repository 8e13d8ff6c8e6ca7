// Instances become nodes: names, matrices in glTF's storage order, hidden
// marks, removed subtrees left out, sheared matrices split into valid nodes.
#include <gtest/gtest.h>

#include "export_fixtures.h"

namespace kavrel_test {
namespace {

using nlohmann::json;

// glTF's column-major matrix applied to a point (column vector).
Vec3 ApplyGltfMatrix(const json &m, const Vec3 &p) {
  Vec3 out;
  for (int r = 0; r < 3; ++r) out[r] = m[r].get<float>() * p[0] + m[4 + r].get<float>() * p[1] + m[8 + r].get<float>() * p[2] + m[12 + r].get<float>();
  return out;
}

Vec3 ApplyTrs(const json &node, const Vec3 &p) {
  Vec3 v = p;
  if (node.contains("scale")) {
    for (int i = 0; i < 3; ++i) v[i] *= node["scale"][i].get<float>();
  }
  if (node.contains("rotation")) v = Rotate(node["rotation"].get<std::vector<float>>(), v);
  if (node.contains("translation")) {
    for (int i = 0; i < 3; ++i) v[i] += node["translation"][i].get<float>();
  }
  return v;
}

// Our own row-vector rule: p' = p x M.
Vec3 ApplyRowMatrix(const Matrix &m, const Vec3 &p) {
  Vec3 out;
  for (int c = 0; c < 3; ++c) out[c] = p[0] * m[c] + p[1] * m[4 + c] + p[2] * m[8 + c] + m[12 + c];
  return out;
}

void ExpectNear(const Vec3 &a, const Vec3 &b) {
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(a[i], b[i], 1e-5f) << "component " << i;
}

TEST(GltfHierarchy, InstancesBecomeNodesWithTheirMatricesAndMarks) {
  Scene &s = FreshScene();
  BuildHierarchyScene(s);
  GltfFile file = ExportGlb(s, "hierarchy");
  const json &nodes = file.json["nodes"];

  std::vector<std::string> roots;
  for (int n : file.json["scenes"][0]["nodes"]) roots.push_back(nodes[n]["name"]);
  EXPECT_EQ(roots, (std::vector<std::string>{"group", "hidden", "sheared"}));  // "gone" is removed

  const json &group = NodeNamed(file, "group");
  const json &shape = NodeNamed(file, "shape");
  ASSERT_EQ(group["children"].size(), 2u);
  EXPECT_EQ(nodes[group["children"][0].get<int>()]["name"], "shape");
  EXPECT_FALSE(NodeNamed(file, "plain").contains("matrix"));  // identity omitted
  EXPECT_EQ(NodeNamed(file, "hidden")["extras"]["hidden"], true);
  EXPECT_FALSE(shape.contains("extras"));
  EXPECT_TRUE(shape.contains("mesh"));

  // A point of the shape lands where the host's row-vector matrices put it.
  const Vec3 p{1, 0, 0};
  Vec3 through_gltf = ApplyGltfMatrix(group["matrix"], ApplyGltfMatrix(shape["matrix"], p));
  ExpectNear(through_gltf, ApplyRowMatrix(kavrel::WorldMatrix(s, s.instances.find_index("shape")), p));
  ExpectNear(through_gltf, {1, 3, 8});
}

TEST(GltfHierarchy, ShearedMatrixSplitsIntoTwoExactNodes) {
  Scene &s = FreshScene();
  BuildHierarchyScene(s);
  GltfFile file = ExportGlb(s, "sheared");
  const json &outer = NodeNamed(file, "sheared");
  EXPECT_FALSE(outer.contains("matrix"));
  ASSERT_EQ(outer["children"].size(), 1u);
  const json &inner = file.json["nodes"][outer["children"][0].get<int>()];
  const Matrix &m = s.instances.items[s.instances.find_index("sheared")].matrix;
  for (const Vec3 &p : {Vec3{1, 0, 0}, Vec3{0, 1, 0}, Vec3{0, 0, 1}, Vec3{1, 2, 3}}) {
    ExpectNear(ApplyTrs(outer, ApplyTrs(inner, p)), ApplyRowMatrix(m, p));
  }
}

}  // namespace
}  // namespace kavrel_test
