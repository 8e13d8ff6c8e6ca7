// Welds worked out ahead on other threads, mesh work handed on to the
// host's queue and results kept for identical meshes must leave every mesh
// exactly as the welds done one call after another would, whatever comes
// between the calls.
#include "tests/toolkit/toolkit_fixture.h"

#include <cmath>

#include "kavrel/mesh/mesh_ops.h"

namespace {

// A strip of n quads as separate triangles, every corner its own position,
// normal and texture coordinate (as a plug-in's buffer holds them). The
// normals and texture coordinates carry noise around the threshold, so the
// welds have work to do and thresholds matter; with collapsed, the first
// triangles fall onto the origin, so welding the positions drops them and
// every stream's values are numbered anew.
kavrel::Mesh Strip(int n, bool collapsed) {
  kavrel::Mesh mesh;
  auto corner = [&](float x, float y, int k) {
    const float jitter = static_cast<float>(k % 7) * 2.5e-5f;
    mesh.positions.push_back({x, y, 0});
    mesh.normals.push_back({jitter, 0, 1});
    mesh.texcoords.push_back({x / n, y + jitter, 0});
  };
  int k = 0;
  for (int i = 0; i < n; ++i, ++k) {
    const float x = static_cast<float>(i);
    for (auto [cx, cy] : {std::pair{x, 0.f}, {x + 1, 0.f}, {x + 1, 1.f}, {x, 0.f}, {x + 1, 1.f}, {x, 1.f}})
      corner(collapsed && i < 2 ? 0 : cx, collapsed && i < 2 ? 0 : cy, k);
    mesh.face_sizes.insert(mesh.face_sizes.end(), {3, 3});
  }
  for (int32_t c = 0; c < static_cast<int32_t>(mesh.positions.size()); ++c) {
    mesh.position_index.push_back(c);
    mesh.normal_index.push_back(c);
    mesh.texcoord_index.push_back(c);
  }
  return mesh;
}

void Define(const char *name, const kavrel::Mesh &mesh) {
  kv_list(Kv_Object_Define, name);
  kavrel::CurrentHost().scene().objects.find(name)->mesh = mesh;
  Kv_Object_End(KV_LIST_END);
}

void Combine(const char *name, const char *stream, float threshold) {
  kv_list(Kv_Manipulate_IndexedPolygons, name, intptr_t{0}, tok("combine"), tok(stream), &threshold);
}

bool Same(const kavrel::Mesh &a, const kavrel::Mesh &b) {
  return a.positions == b.positions && a.normals == b.normals && a.texcoords == b.texcoords &&
         a.position_index == b.position_index && a.normal_index == b.normal_index &&
         a.texcoord_index == b.texcoord_index && a.face_sizes == b.face_sizes;
}

TEST_F(ToolkitTest, WeldsWorkedOutAheadGiveTheWeldsOfTheCalls) {
  const float t = 1e-4f;
  for (bool collapsed : {false, true}) {
    const kavrel::Mesh strip = Strip(170000, collapsed);  // 1,020,000 corners: welded ahead
    kavrel::Mesh expected = strip;
    kavrel::CombineStream(expected, kavrel::MeshStream::kPosition, t);
    kavrel::CombineStream(expected, kavrel::MeshStream::kNormal, t);
    kavrel::CombineStream(expected, kavrel::MeshStream::kTexcoord, t);
    ASSERT_LT(expected.normals.size(), strip.normals.size() / 100);

    // As the plug-in calls them, with token look-ups in between.
    Define("A", strip);
    Combine("A", "vertex", t);
    Combine("A", "normal", t);
    Combine("A", "texture", t);
    EXPECT_TRUE(Same(db().objects.find("A")->mesh, expected)) << collapsed;

    // Another threshold, another object and smoothing in between: nothing
    // worked out ahead may apply.
    Define("B", strip);
    Combine("B", "vertex", t);
    Combine("B", "normal", 2 * t);
    kavrel::Mesh other = strip;
    kavrel::CombineStream(other, kavrel::MeshStream::kPosition, t);
    kavrel::CombineStream(other, kavrel::MeshStream::kNormal, 2 * t);
    EXPECT_TRUE(Same(db().objects.find("B")->mesh, other)) << collapsed;
    float angle = 30;
    kv_list(Kv_Manipulate_IndexedPolygons, "B", intptr_t{0}, tok("calcnormals"), tok("angle"), &angle);
    Combine("B", "texture", t);
    kavrel::CombineStream(other, kavrel::MeshStream::kTexcoord, t);
    EXPECT_EQ(db().objects.find("B")->mesh.texcoords, other.texcoords) << collapsed;
    kv_list(Kv_Remove, tok("object"), "A");
    kv_list(Kv_Remove, tok("object"), "B");
  }
  EXPECT_TRUE(errors.empty());
}

// Small meshes have their work handed on: objects defined and other calls
// in between (the objects table grows meanwhile) leave it as it would be.
TEST_F(ToolkitTest, WorkHandedOnGivesTheMeshesOfTheCalls) {
  const float t = 1e-4f, angle = 30;
  std::vector<kavrel::Mesh> expected;
  for (int k = 0; k < 40; ++k) {
    const kavrel::Mesh strip = Strip(50 + k, k % 2 == 1);
    const std::string name = "S" + std::to_string(k);
    Define(name.c_str(), strip);
    Combine(name.c_str(), "vertex", t);
    Combine(name.c_str(), "normal", t);
    kv_list(Kv_Surface, "surface", tok("opacity"), tok("facecoeff"), &t);
    kv_list(Kv_Manipulate_IndexedPolygons, name.c_str(), intptr_t{0}, tok("calcnormals"), tok("angle"), &angle);
    Combine(name.c_str(), "texture", 2 * t);
    kavrel::Mesh mesh = strip;
    kavrel::CombineStream(mesh, kavrel::MeshStream::kPosition, t);
    kavrel::CombineStream(mesh, kavrel::MeshStream::kNormal, t);
    kavrel::CalcSmoothNormals(mesh, angle);
    kavrel::CombineStream(mesh, kavrel::MeshStream::kTexcoord, 2 * t);
    expected.push_back(mesh);
  }
  for (int k = 0; k < 40; ++k) EXPECT_TRUE(Same(db().objects.find("S" + std::to_string(k))->mesh, expected[k])) << k;
  EXPECT_TRUE(errors.empty());
}

// A shape used again and again is worked on once or twice and then takes
// the result kept: every use must still end as its own work leaves it,
// including a use whose mesh differs in one bit of one value or whose work
// differs in its threshold, and a kept result must not come with the room
// of the unwelded arrays it replaces.
TEST_F(ToolkitTest, IdenticalMeshesEndAsTheirOwnWorkLeavesThem) {
  const float t = 1e-4f;
  float angle = 30;
  const kavrel::Mesh strip = Strip(60, false);
  kavrel::Mesh nudged = strip;
  nudged.normals[7][0] = std::nextafter(nudged.normals[7][0], 1.0f);
  struct Use {
    const kavrel::Mesh *mesh;
    float threshold;
  };
  const std::vector<Use> uses = {{&strip, t}, {&strip, t},  {&strip, t},      {&nudged, t},
                                 {&strip, t}, {&strip, 4 * t}, {&strip, t}};
  for (size_t k = 0; k < uses.size(); ++k) {
    const std::string name = "U" + std::to_string(k);
    Define(name.c_str(), *uses[k].mesh);
    Combine(name.c_str(), "vertex", uses[k].threshold);
    Combine(name.c_str(), "normal", uses[k].threshold);
    kv_list(Kv_Manipulate_IndexedPolygons, name.c_str(), intptr_t{0}, tok("calcnormals"), tok("angle"), &angle);
    Combine(name.c_str(), "texture", uses[k].threshold);
  }
  const kavrel::Mesh &worked = db().objects.find("U0")->mesh;
  for (size_t k = 0; k < uses.size(); ++k) {
    kavrel::Mesh expected = *uses[k].mesh;
    kavrel::CombineStream(expected, kavrel::MeshStream::kPosition, uses[k].threshold);
    kavrel::CombineStream(expected, kavrel::MeshStream::kNormal, uses[k].threshold);
    kavrel::CalcSmoothNormals(expected, angle);
    kavrel::CombineStream(expected, kavrel::MeshStream::kTexcoord, uses[k].threshold);
    const kavrel::Mesh &mesh = db().objects.find("U" + std::to_string(k))->mesh;
    EXPECT_TRUE(Same(mesh, expected)) << k;
    if (uses[k].mesh != &strip || uses[k].threshold != t) continue;
    EXPECT_LE(mesh.positions.capacity(), worked.positions.capacity()) << k;
    EXPECT_LE(mesh.texcoords.capacity(), worked.texcoords.capacity()) << k;
  }
  EXPECT_TRUE(errors.empty());
}

}  // namespace
