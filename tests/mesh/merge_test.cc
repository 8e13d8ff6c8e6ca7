// Merging coplanar neighbours into quadrilaterals or larger convex polygons.
#include <gtest/gtest.h>

#include <cmath>

#include "kavrel/mesh/mesh_ops.h"
#include "mesh_builders.h"

using kavrel::CombineStream;
using kavrel::MergeCoplanarPolygons;
using kavrel::MeshStream;
using namespace meshtest;

namespace {

// Welded like the importer's meshes before merging: every stream.
Mesh Welded(const std::vector<Triangle> &triangles) {
  Mesh mesh = SeparateTriangles(triangles);
  for (MeshStream s : {MeshStream::kPosition, MeshStream::kNormal, MeshStream::kTexcoord})
    CombineStream(mesh, s, 0.0001f);
  return mesh;
}

const std::vector<Triangle> kSquare = {{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, {{0, 0, 0}, {1, 1, 0}, {0, 1, 0}}};

// Every turn of every polygon bends the same way as its normal.
void ExpectConvex(const Mesh &mesh) {
  using kavrel::Cross, kavrel::Dot, kavrel::Sub;
  for (const auto &p : Polygons(mesh)) {
    const Vec3 n = PolygonNormal(p);
    for (size_t k = 0; k < p.size(); ++k) {
      const Vec3 &a = p[k], &b = p[(k + 1) % p.size()], &c = p[(k + 2) % p.size()];
      EXPECT_GT(Dot(Cross(Sub(b, a), Sub(c, b)), n), 0.0f);
    }
  }
}

}  // namespace

TEST(Merge, TwoCoplanarTrianglesBecomeOneQuadWithConsistentStreams) {
  Mesh mesh = Welded(kSquare);
  MergeCoplanarPolygons(mesh, true, 1.0f);
  ASSERT_TRUE(kavrel::CheckMesh(mesh, nullptr));
  ASSERT_EQ(mesh.face_sizes, (std::vector<int32_t>{4}));
  EXPECT_EQ(mesh.positions.size(), 4u);
  EXPECT_EQ(mesh.texcoords.size(), 4u);
  const auto polygon = Polygons(mesh)[0];
  EXPECT_TRUE(Near(PolygonNormal(polygon), {0, 0, 1}));
  for (size_t c = 0; c < 4; ++c) {
    const Vec3 &p = mesh.positions[mesh.position_index[c]], &t = mesh.texcoords[mesh.texcoord_index[c]];
    EXPECT_TRUE(Near({p[0], p[1], 0}, t)) << "texture coordinate left its corner";
  }
}

TEST(Merge, FoldedSurfaceSeamsAndSurfacesKeepPolygonsApart) {
  Mesh folded = Welded({{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, {{0, 0, 0}, {1, 1, 0}, {0, 1, 0.2f}}});
  MergeCoplanarPolygons(folded, false, 5.0f);
  EXPECT_EQ(folded.face_sizes.size(), 2u);
  MergeCoplanarPolygons(folded, false, 20.0f);
  EXPECT_EQ(folded.face_sizes.size(), 1u) << "a fold within the angle merges";

  Mesh surfaces = Welded(kSquare);
  surfaces.surface_names = {"red"};
  surfaces.face_surface = {0, -1};
  MergeCoplanarPolygons(surfaces, false, 1.0f);
  EXPECT_EQ(surfaces.face_sizes.size(), 2u);

  // A texture seam along the diagonal: equal positions, different uv.
  Mesh seam = Welded(kSquare);
  seam.texcoords.push_back({5, 5, 0});
  seam.texcoord_index[3] = static_cast<int32_t>(seam.texcoords.size() - 1);
  MergeCoplanarPolygons(seam, false, 1.0f);
  EXPECT_EQ(seam.face_sizes.size(), 2u);
}

TEST(Merge, FanOfAHexagonGrowsIntoOneConvexPolygonUnlessQuadsOnly) {
  std::vector<Vec3> ring;
  for (int k = 0; k < 6; ++k) ring.push_back({std::cos(k * float(M_PI) / 3), std::sin(k * float(M_PI) / 3), 0});
  std::vector<Triangle> fan;
  for (int k = 1; k + 1 < 6; ++k) fan.push_back({ring[0], ring[k], ring[k + 1]});

  Mesh quads = Welded(fan);
  MergeCoplanarPolygons(quads, true, 1.0f);
  EXPECT_EQ(quads.face_sizes, (std::vector<int32_t>{4, 4}));

  Mesh hexagon = Welded(fan);
  MergeCoplanarPolygons(hexagon, false, 1.0f);
  EXPECT_EQ(hexagon.face_sizes, (std::vector<int32_t>{6}));
  ExpectConvex(hexagon);
}

TEST(Merge, ConcaveOutlineIsNeverProduced) {
  // An L made of three unit squares, each split into two triangles.
  std::vector<Triangle> l_shape;
  for (Vec3 o : {Vec3{0, 0, 0}, Vec3{1, 0, 0}, Vec3{0, 1, 0}}) {
    const Vec3 a = o, b{o[0] + 1, o[1], 0}, c{o[0] + 1, o[1] + 1, 0}, d{o[0], o[1] + 1, 0};
    l_shape.push_back({a, b, c});
    l_shape.push_back({a, c, d});
  }
  Mesh mesh = Welded(l_shape);
  MergeCoplanarPolygons(mesh, false, 1.0f);
  ASSERT_TRUE(kavrel::CheckMesh(mesh, nullptr));
  EXPECT_LT(mesh.face_sizes.size(), 6u);
  ExpectConvex(mesh);
}
