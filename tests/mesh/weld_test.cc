// Welding ("combine") of one stream at a time.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "kavrel/mesh/mesh_ops.h"
#include "mesh_builders.h"

using kavrel::CombineStream;
using kavrel::MeshStream;
using namespace meshtest;

TEST(Weld, JoinsPositionsWithinTheThresholdOnly) {
  // Two triangles of a square; the shared corners of the second triangle
  // are nudged by less than the threshold at one end and by more at the other.
  Mesh mesh = SeparateTriangles({{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, {{0.00005f, 0, 0}, {1, 1.0003f, 0}, {0, 1, 0}}});
  CombineStream(mesh, MeshStream::kPosition, 0.0001f);
  ASSERT_EQ(mesh.positions.size(), 5u);
  EXPECT_EQ(mesh.position_index[3], mesh.position_index[0]);
  EXPECT_NE(mesh.position_index[4], mesh.position_index[2]);
  // Normals and texture coordinates keep a value per corner.
  EXPECT_EQ(mesh.normals.size(), 6u);
  EXPECT_EQ(mesh.texcoords.size(), 6u);
  EXPECT_TRUE(kavrel::CheckMesh(mesh, nullptr));

  CombineStream(mesh, MeshStream::kNormal, 0.0001f);
  EXPECT_EQ(mesh.normals.size(), 1u);
  CombineStream(mesh, MeshStream::kTexcoord, 0.0001f);
  EXPECT_EQ(mesh.texcoords.size(), 5u);
  EXPECT_EQ(mesh.texcoord_index, mesh.position_index);
}

TEST(Weld, CubeCornersBecomeEightPositionsAcrossCellWalls) {
  // Corners sit on the grid's cell walls for most thresholds; each copy is
  // jittered differently so that welding must look into neighbour cells.
  std::vector<Triangle> cube = CubeTriangles();
  const float jitter[4] = {0.00002f, -0.00002f, 0.00004f, -0.00004f};
  int k = 0;
  for (Triangle &t : cube)
    for (Vec3 *p : {&t.a, &t.b, &t.c}) {
      (*p)[0] += jitter[k % 4];
      (*p)[2] -= jitter[(k + 1) % 4];
      ++k;
    }
  Mesh mesh = SeparateTriangles(cube);
  CombineStream(mesh, MeshStream::kPosition, 0.0001f);
  EXPECT_EQ(mesh.positions.size(), 8u);
  EXPECT_EQ(mesh.face_sizes.size(), 12u);
}

TEST(Weld, ZeroPaddedTrianglesAndCollapsedSliversAreDropped) {
  // Coin3D's pre-sized buffers end in zero-filled triangles at the origin.
  Mesh mesh = SeparateTriangles({{{0, 0, 1}, {1, 0, 1}, {1, 1, 1}},
                                 {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
                                 {{2, 0, 1}, {2.00001f, 0, 1}, {3, 1, 1}},
                                 {{0, 0, 1}, {1, 1, 1}, {0, 1, 1}},
                                 {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}});
  mesh.surface_names = {"red", "blue"};
  mesh.face_surface = {0, 1, 1, -1, 0};
  CombineStream(mesh, MeshStream::kPosition, 0.0001f);
  ASSERT_TRUE(kavrel::CheckMesh(mesh, nullptr));
  EXPECT_EQ(mesh.face_sizes, (std::vector<int32_t>{3, 3}));
  EXPECT_EQ(mesh.face_surface, (std::vector<int32_t>{0, -1}));
  EXPECT_EQ(mesh.positions.size(), 4u);
  for (const Vec3 &p : mesh.positions) EXPECT_EQ(p[2], 1.0f) << "a dropped polygon's position survived";
  EXPECT_EQ(mesh.normal_index.size(), 6u);
  EXPECT_EQ(mesh.texcoords.size(), 6u);
}

TEST(Weld, ZeroThresholdWeldsEqualValuesOnlyAndNonFiniteValuesStayApart) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  Mesh mesh = SeparateTriangles({{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{-0.0f, 0, 0}, {1, 0, 1e-7f}, {0, 1, 0}}});
  mesh.texcoords[0] = mesh.texcoords[3] = {nan, 0, 0};
  CombineStream(mesh, MeshStream::kPosition, 0.0f);
  EXPECT_EQ(mesh.positions.size(), 4u);
  EXPECT_EQ(mesh.position_index[3], mesh.position_index[0]);
  CombineStream(mesh, MeshStream::kTexcoord, 0.5f);
  EXPECT_NE(mesh.texcoord_index[0], mesh.texcoord_index[3]);
  // Equal infinities one after the other stay apart too.
  const float inf = std::numeric_limits<float>::infinity();
  mesh.normals[1] = mesh.normals[2] = {inf, 0, 0};
  CombineStream(mesh, MeshStream::kNormal, 0.5f);
  EXPECT_NE(mesh.normal_index[1], mesh.normal_index[2]);
  EXPECT_EQ(mesh.normal_index[0], mesh.normal_index[3]);
}

// A corner whose value repeats the corner before's is searched for only
// when the weld must: here the value before was reached through a shared
// index, so the search that found it is not the last one made.
TEST(Weld, AValueRepeatingTheCornerBeforeFromAnotherIndexStillWelds) {
  Mesh mesh = SeparateTriangles({{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{2, 0, 0}, {3, 0, 0}, {2, 1, 0}}});
  const Vec3 v{0, 0, 1}, w{0, 1, 0}, x{1, 0, 0};
  mesh.normals = {v, w, v, x};
  mesh.normal_index = {0, 1, 3, 0, 2, 1};
  CombineStream(mesh, MeshStream::kNormal, 0.0001f);
  EXPECT_EQ(mesh.normals.size(), 3u);
  EXPECT_EQ(mesh.normal_index, (std::vector<int32_t>{0, 1, 2, 0, 0, 1}));
}

// The operations trust their meshes: the host refuses a malformed one where
// it enters (polygon_buffer_test), with the problem this check names.
TEST(Weld, MalformedMeshIsNamedByTheCheck) {
  Mesh mesh = SeparateTriangles({{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}});
  mesh.position_index[2] = 7;
  std::string problem;
  EXPECT_FALSE(kavrel::CheckMesh(mesh, &problem));
  EXPECT_NE(problem.find("out of range"), std::string::npos);
}

TEST(Weld, EveryValueLandsNearItsKeptValueAndKeptValuesStayApart) {
  // Clusters of copies around points of a coarse lattice, spread up to
  // 0.4 thresholds from their point: a weld must keep one value per point,
  // whichever cell walls the copies straddle.
  const float t = 0.001f;
  Mesh mesh;
  unsigned seed = 7;
  auto jitter = [&] {
    seed = seed * 1103515245u + 12345u;
    return (static_cast<float>((seed >> 8) & 0xffff) / 65535.0f - 0.5f) * 0.8f * t;
  };
  for (int copy = 0; copy < 4; ++copy)
    for (int i = 0; i < 3000; ++i) {
      const Vec3 p{(i % 15) * 0.0123f, (i / 15 % 20) * 0.0071f, (i / 300) * 0.0049f};
      mesh.positions.push_back({p[0] + jitter(), p[1] + jitter(), p[2] + jitter()});
      mesh.position_index.push_back(static_cast<int32_t>(mesh.position_index.size()));
    }
  const std::vector<Vec3> original = mesh.positions;
  const std::vector<int32_t> before = mesh.position_index;
  mesh.face_sizes.assign(mesh.position_index.size() / 3, 3);
  CombineStream(mesh, MeshStream::kPosition, t);
  EXPECT_EQ(mesh.positions.size(), 3000u);
  for (size_t c = 0; c < before.size(); ++c) ASSERT_TRUE(Near(original[before[c]], mesh.positions[mesh.position_index[c]], t));
  for (size_t a = 0; a < mesh.positions.size(); ++a)
    for (size_t b = a + 1; b < mesh.positions.size(); ++b) ASSERT_FALSE(Near(mesh.positions[a], mesh.positions[b], t));
}
