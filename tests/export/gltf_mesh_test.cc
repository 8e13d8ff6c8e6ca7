// Objects become meshes: unique vertices from the stream index tuples,
// fanned triangles facing the front, repaired bad data, primitives per face
// surface and meshes per instance surface.
#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

#include "export_fixtures.h"

namespace kavrel_test {
namespace {

using nlohmann::json;

struct Primitive {
  std::vector<float> positions, normals, texcoords, colors;
  std::vector<uint32_t> indices;
  std::string material;                        // "" for none
};

Primitive ReadPrimitive(const GltfFile &file, const json &node, int which = 0) {
  const json &p = file.json["meshes"][node["mesh"].get<int>()]["primitives"][which];
  Primitive out;
  const json &a = p["attributes"];
  out.positions = AccessorFloats(file, a["POSITION"]);
  if (a.contains("NORMAL")) out.normals = AccessorFloats(file, a["NORMAL"]);
  if (a.contains("TEXCOORD_0")) out.texcoords = AccessorFloats(file, a["TEXCOORD_0"]);
  if (a.contains("COLOR_0")) out.colors = AccessorFloats(file, a["COLOR_0"]);
  out.indices = AccessorIndices(file, p["indices"]);
  if (p.contains("material")) out.material = file.json["materials"][p["material"].get<int>()]["name"];
  return out;
}

// Each triangle's geometric normal (from its winding) against its first
// vertex's normal: +1 when they agree.
void ExpectFrontsMatchNormals(const Primitive &p, float expected_z) {
  for (size_t t = 0; t < p.indices.size(); t += 3) {
    const float *a = &p.positions[3 * p.indices[t]], *b = &p.positions[3 * p.indices[t + 1]],
                *c = &p.positions[3 * p.indices[t + 2]];
    float z = (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0]);
    EXPECT_GT(z * expected_z, 0) << "triangle " << t / 3;
    EXPECT_FLOAT_EQ(p.normals[3 * p.indices[t] + 2], expected_z);
  }
}

class GltfMesh : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildMeshScene(FreshScene());
    file = ExportGlb(kavrel::scene(), "meshes");
    reports = std::move(captured.errors);
  }
  CapturedReports captured;
  GltfFile file;
  std::vector<std::pair<int, std::string>> reports;
};

TEST_F(GltfMesh, StreamsAreDeindexedAndTrianglesFaceTheFront) {
  Primitive plain = ReadPrimitive(file, NodeNamed(file, "plain"));
  EXPECT_EQ(plain.positions.size(), 8u * 3);   // 6 positions x 2 normals share 8 distinct corners
  EXPECT_EQ(plain.indices.size(), 4u * 3);     // two quads, fanned
  EXPECT_EQ(plain.material, "");
  ExpectFrontsMatchNormals(plain, 1);          // the unnormalised (0, 0, 2) comes out unit length
  for (size_t v = 0; v < 8; ++v) {             // the fixture's t equals y; glTF's v runs downwards
    EXPECT_EQ(plain.texcoords[2 * v + 1], 1 - plain.positions[3 * v + 1]);
  }
  ExpectFrontsMatchNormals(ReadPrimitive(file, NodeNamed(file, "cw")), 1);
}

TEST_F(GltfMesh, BadDataIsRepairedAndReportedOnce) {
  Primitive fixed = ReadPrimitive(file, NodeNamed(file, "fix"));
  EXPECT_EQ(fixed.indices.size(), 4u * 3);     // the polygon with index 99 is dropped
  for (float v : fixed.positions) EXPECT_TRUE(std::isfinite(v));
  ExpectFrontsMatchNormals(fixed, -1);         // clockwise: the zero normal takes the face's, -Z
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].first, 2);
  EXPECT_NE(reports[0].second.find("1 non-finite numbers replaced"), std::string::npos) << reports[0].second;
  EXPECT_NE(reports[0].second.find("1 bad polygons dropped"), std::string::npos) << reports[0].second;
}

TEST_F(GltfMesh, MaterialsSitOnPrimitivesPerFaceAndInstanceSurface) {
  int red = NodeNamed(file, "f1")["mesh"], green = NodeNamed(file, "f2")["mesh"];
  EXPECT_EQ(NodeNamed(file, "f3")["mesh"].get<int>(), red);
  EXPECT_NE(green, red);
  const json &meshes = file.json["meshes"];
  EXPECT_EQ(meshes[red]["primitives"][0]["attributes"], meshes[green]["primitives"][0]["attributes"]);
  EXPECT_EQ(ReadPrimitive(file, NodeNamed(file, "f1"), 0).material, "red");
  EXPECT_EQ(ReadPrimitive(file, NodeNamed(file, "f2"), 0).material, "green");
  EXPECT_EQ(ReadPrimitive(file, NodeNamed(file, "f2"), 1).material, "blue");

  EXPECT_FALSE(NodeNamed(file, "nothing").contains("mesh"));
  Primitive colored = ReadPrimitive(file, NodeNamed(file, "paint"));
  EXPECT_EQ(colored.material, "default");
  EXPECT_EQ(*std::max_element(colored.colors.begin(), colored.colors.end()), 1.0f);
}

}  // namespace
}  // namespace kavrel_test
