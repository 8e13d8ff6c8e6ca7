// Objects become meshes: unique vertices from the stream index tuples,
// fanned triangles facing the front, repaired bad data, primitives per face
// surface and meshes per instance surface.
#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

#include "export_fixtures.h"

namespace kavrel_test {
namespace {

struct Primitive {
  std::vector<float> positions, normals, texcoords, colors;
  std::vector<uint32_t> indices;
  std::string material;                        // "" for none
};

Primitive ReadPrimitive(const GltfFile &file, const std::string &node, int which = 0) {
  const json &p = file.doc["meshes"][NodeNamed(file, node)["mesh"].get<int>()]["primitives"][which];
  const json &a = p["attributes"];
  Primitive out;
  out.positions = Accessor<float>(file, a["POSITION"]);
  if (a.contains("NORMAL")) out.normals = Accessor<float>(file, a["NORMAL"]);
  if (a.contains("TEXCOORD_0")) out.texcoords = Accessor<float>(file, a["TEXCOORD_0"]);
  if (a.contains("COLOR_0")) out.colors = Accessor<float>(file, a["COLOR_0"]);
  out.indices = Accessor<uint32_t>(file, p["indices"]);
  if (p.contains("material")) out.material = file.doc["materials"][p["material"].get<int>()]["name"];
  return out;
}

// Each triangle's winding and its vertices' normals face expected_z.
void ExpectFronts(const Primitive &p, float expected_z) {
  for (size_t t = 0; t < p.indices.size(); t += 3) {
    const float *a = &p.positions[3 * p.indices[t]], *b = &p.positions[3 * p.indices[t + 1]],
                *c = &p.positions[3 * p.indices[t + 2]];
    EXPECT_GT(((b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0])) * expected_z, 0) << t / 3;
    for (int k = 0; k < 3; ++k) EXPECT_FLOAT_EQ(p.normals[3 * p.indices[t + k] + 2], expected_z) << t / 3;
  }
}

class GltfMesh : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildMeshScene(host.scene());
    CapturedReports captured(host);
    file = ExportGlb(host, "meshes");
    reports = captured.errors;
  }
  kavrel::Host host;
  GltfFile file;
  std::vector<std::pair<int, std::string>> reports;
};

TEST_F(GltfMesh, StreamsAreDeindexedAndBadDataRepaired) {
  Primitive plain = ReadPrimitive(file, "plain");
  EXPECT_EQ(plain.positions.size(), 8u * 3);   // 6 positions x 2 normals share 8 distinct corners
  EXPECT_EQ(plain.indices.size(), 4u * 3);     // two quads, fanned
  EXPECT_EQ(plain.material, "");
  ExpectFronts(plain, 1);                      // the unnormalised (0, 0, 2) comes out unit length
  for (size_t v = 0; v < 8; ++v) EXPECT_EQ(plain.texcoords[2 * v + 1], 1 - plain.positions[3 * v + 1]);
  ExpectFronts(ReadPrimitive(file, "cw"), 1);  // clockwise corners, reversed

  Primitive fixed = ReadPrimitive(file, "fix");
  EXPECT_EQ(fixed.indices.size(), 4u * 3);     // the polygon with index 99 is dropped
  EXPECT_TRUE(std::all_of(fixed.positions.begin(), fixed.positions.end(), [](float v) { return std::isfinite(v); }));
  ExpectFronts(fixed, -1);                     // the zero normal takes its face's: -Z
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].first, 2);
  EXPECT_NE(reports[0].second.find("1 non-finite numbers replaced; 1 bad polygons dropped"), std::string::npos)
      << reports[0].second;
}

TEST_F(GltfMesh, MaterialsSitOnPrimitivesPerFaceAndInstanceSurface) {
  int red = NodeNamed(file, "f1")["mesh"], green = NodeNamed(file, "f2")["mesh"];
  EXPECT_EQ(NodeNamed(file, "f3")["mesh"].get<int>(), red);
  EXPECT_NE(green, red);
  const json &meshes = file.doc["meshes"];
  EXPECT_EQ(meshes[red]["primitives"][0]["attributes"], meshes[green]["primitives"][0]["attributes"]);
  EXPECT_EQ(ReadPrimitive(file, "f1", 0).material, "red");
  EXPECT_EQ(ReadPrimitive(file, "f2", 0).material, "green");
  EXPECT_EQ(ReadPrimitive(file, "f2", 1).material, "blue");

  EXPECT_FALSE(NodeNamed(file, "nothing").contains("mesh"));
  Primitive colored = ReadPrimitive(file, "paint");
  EXPECT_EQ(colored.material, "default");
  EXPECT_EQ(*std::max_element(colored.colors.begin(), colored.colors.end()), 1.0f);
}

}  // namespace
}  // namespace kavrel_test

namespace kavrel_test {
namespace {

// Objects with the same bytes share their accessors and, per instance
// material, their mesh; one differing bit keeps them apart, and repairs
// count once per object as before.
TEST(GltfMeshSharing, IdenticalObjectsShareOneMeshPerMaterial) {
  kavrel::Host host;
  Scene &s = host.scene();
  for (const char *name : {"red", "green"}) s.surfaces.get_or_add(name);
  Mesh nudged = TwoSquares();
  nudged.positions[0][0] = -0.0f;              // equal as a number, not as bytes
  Mesh bad = TwoSquares();
  bad.positions[5] = {NAN, 0, 0};
  const int32_t a = AddObject(s, "a", TwoSquares()), b = AddObject(s, "b", TwoSquares());
  const int32_t c = AddObject(s, "c", nudged), bad1 = AddObject(s, "bad1", bad), bad2 = AddObject(s, "bad2", bad);
  const std::pair<const char *, int32_t> placed[] = {{"ia", a}, {"ib", b}, {"ib2", b}, {"ic", c},
                                                      {"ibad1", bad1}, {"ibad2", bad2}};
  for (const auto &[name, object] : placed) {
    kavrel::Instance &instance = AddInstance(s, name);
    instance.object = object;
    instance.surface = std::string(name) == "ib2" ? "green" : "red";
  }
  CapturedReports captured(host);
  const GltfFile file = ExportGlb(host, "sharing");
  auto mesh_of = [&](const char *node) { return NodeNamed(file, node)["mesh"].get<int>(); };
  EXPECT_EQ(mesh_of("ia"), mesh_of("ib"));
  EXPECT_EQ(mesh_of("ibad1"), mesh_of("ibad2"));
  EXPECT_NE(mesh_of("ib2"), mesh_of("ia"));
  EXPECT_NE(mesh_of("ic"), mesh_of("ia"));
  const json &meshes = file.doc["meshes"];
  EXPECT_EQ(meshes.size(), 4u);
  EXPECT_EQ(meshes[mesh_of("ib2")]["primitives"][0]["attributes"], meshes[mesh_of("ia")]["primitives"][0]["attributes"]);
  EXPECT_NE(meshes[mesh_of("ic")]["primitives"][0]["attributes"], meshes[mesh_of("ia")]["primitives"][0]["attributes"]);
  EXPECT_EQ(ReadPrimitive(file, "ib2").material, "green");
  ASSERT_EQ(captured.errors.size(), 1u);
  EXPECT_NE(captured.errors[0].second.find("2 non-finite numbers replaced"), std::string::npos)
      << captured.errors[0].second;
}

}  // namespace
}  // namespace kavrel_test

namespace kavrel_test {
namespace {

// A triangle given again (a strip turning back on itself), in its own
// winding or the other, is written once; the same corners in another
// surface's group, and a triangle sharing two of them, stay.
TEST(GltfMeshRepeats, ATriangleGivenAgainIsWrittenOnce) {
  kavrel::Host host;
  Scene &s = host.scene();
  s.surfaces.get_or_add("blue");
  Mesh strip;
  strip.positions = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  strip.face_sizes = {3, 3, 3, 3, 3};
  strip.position_index = {0, 1, 2, 1, 2, 0, 2, 1, 0, 0, 2, 3, 0, 1, 2};
  strip.face_surface = {-1, -1, -1, -1, 0};
  strip.surface_names = {"blue"};
  AddInstance(s, "strip").object = AddObject(s, "strip", strip);
  const GltfFile file = ExportGlb(host, "repeats");
  EXPECT_EQ(ReadPrimitive(file, "strip", 0).indices, (std::vector<uint32_t>{0, 1, 2, 0, 2, 3}));
  EXPECT_EQ(ReadPrimitive(file, "strip", 1).indices.size(), 3u);
}

}  // namespace
}  // namespace kavrel_test
