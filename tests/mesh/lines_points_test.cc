// Line segments (polygons of two corners) and points (of one) pass through
// every mesh operation: kept, welded where their positions weld, and left
// out of what only faces have (smoothing, merging, closed surfaces).
#include <gtest/gtest.h>

#include <cmath>

#include "kavrel/mesh/closed_surface.h"
#include "kavrel/mesh/mesh_ops.h"
#include "mesh_builders.h"

using kavrel::MeshStream;
using namespace meshtest;

namespace {

// Appends a polygon of the given corners, each with a position of its own.
void AddPolygon(Mesh &mesh, const std::vector<Vec3> &corners) {
  for (const Vec3 &p : corners) {
    mesh.position_index.push_back(static_cast<int32_t>(mesh.positions.size()));
    mesh.positions.push_back(p);
  }
  mesh.face_sizes.push_back(static_cast<int32_t>(corners.size()));
}

// A unit square of two triangles (diagonal from (0,0) to (1,1)), a segment
// lying on that diagonal and a point above it; positions only.
Mesh SquareWithSegmentAndPoint() {
  Mesh mesh;
  AddPolygon(mesh, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
  AddPolygon(mesh, {{0, 0, 0}, {1, 1, 0}, {0, 1, 0}});
  AddPolygon(mesh, {{0, 0, 0}, {1, 1, 0}});
  AddPolygon(mesh, {{0.5f, 0.5f, 2}});
  kavrel::CombineStream(mesh, MeshStream::kPosition, 0.0f);
  return mesh;
}

}  // namespace

TEST(LinesAndPoints, WeldingKeepsThemAndDropsOnlySegmentsThatCollapse) {
  Mesh mesh;
  AddPolygon(mesh, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
  AddPolygon(mesh, {{1.00001f, 0, 0}, {3, 0, 0}});     // its first end welds onto the triangle's corner
  AddPolygon(mesh, {{5, 5, 5}, {5.00001f, 5, 5}});     // both ends weld into one: it draws nothing
  AddPolygon(mesh, {{0, 0, 0}});                       // a point on a corner
  AddPolygon(mesh, {{0, 0, 0}});                       // and the same point again
  mesh.surface_names = {"wire"};
  mesh.face_surface = {-1, 0, 0, 0, -1};
  kavrel::CombineStream(mesh, MeshStream::kPosition, 0.001f);
  ASSERT_TRUE(kavrel::CheckMesh(mesh, nullptr));
  EXPECT_EQ(mesh.face_sizes, (std::vector<int32_t>{3, 2, 1, 1}));
  EXPECT_EQ(mesh.face_surface, (std::vector<int32_t>{-1, 0, 0, -1}));
  EXPECT_EQ(mesh.positions.size(), 4u);
  EXPECT_EQ(mesh.position_index[3], mesh.position_index[1]);
  EXPECT_EQ(mesh.position_index[5], mesh.position_index[0]);
}

TEST(LinesAndPoints, SmoothingLightsOnlyTheFacesAndLeavesALineMeshAlone) {
  Mesh mesh = SquareWithSegmentAndPoint();
  kavrel::CalcSmoothNormals(mesh, 10.0f);
  ASSERT_TRUE(kavrel::CheckMesh(mesh, nullptr));
  // The segment on the diagonal is no third polygon at that edge: the two
  // triangles still share their normals across it.
  EXPECT_EQ(mesh.normal_index[0], mesh.normal_index[3]);
  EXPECT_EQ(mesh.normal_index[2], mesh.normal_index[4]);
  EXPECT_EQ(mesh.normals[mesh.normal_index[0]], (Vec3{0, 0, 1}));
  // Segment and point corners share one placeholder normal.
  EXPECT_EQ(mesh.normal_index[6], mesh.normal_index[7]);
  EXPECT_EQ(mesh.normal_index[8], mesh.normal_index[6]);

  Mesh lines;
  AddPolygon(lines, {{0, 0, 0}, {1, 0, 0}});
  AddPolygon(lines, {{2, 0, 0}});
  const Mesh before = lines;
  kavrel::CalcSmoothNormals(lines, 30.0f);
  EXPECT_TRUE(kavrel::SameMesh(lines, before));
}

TEST(LinesAndPoints, MergingJoinsTheFacesAndLeavesSegmentsAndPoints) {
  Mesh mesh = SquareWithSegmentAndPoint();
  kavrel::MergeCoplanarPolygons(mesh, true, 1.0f);
  ASSERT_TRUE(kavrel::CheckMesh(mesh, nullptr));
  EXPECT_EQ(mesh.face_sizes, (std::vector<int32_t>{4, 2, 1}));
  const auto polygons = Polygons(mesh);
  EXPECT_EQ(polygons[1], (std::vector<Vec3>{{0, 0, 0}, {1, 1, 0}}));
  EXPECT_EQ(polygons[2], (std::vector<Vec3>{{0.5f, 0.5f, 2}}));
}

TEST(LinesAndPoints, OnlyFacesDecideWhetherAMeshIsAClosedSurface) {
  Mesh cube = SeparateTriangles(CubeTriangles());
  Mesh wires;
  AddPolygon(wires, {{-0.5f, -0.5f, -0.5f}, {0.5f, -0.5f, -0.5f}});  // along one of the cube's edges
  AddPolygon(wires, {{0, 0, 3}});
  kavrel::AppendMesh(cube, wires, kavrel::IdentityMatrix());
  EXPECT_TRUE(kavrel::IsClosedOutwardSurface(cube));
  EXPECT_FALSE(kavrel::IsClosedOutwardSurface(wires));
}

TEST(LinesAndPoints, AppendingKeepsThemUnderAMirroringMatrix) {
  Mesh dst = SeparateTriangles({{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}});
  Mesh wires;
  AddPolygon(wires, {{1, 2, 3}, {4, 5, 6}});
  AddPolygon(wires, {{7, 8, 9}});
  kavrel::AppendMesh(dst, wires, {-1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 10, 0, 0, 1});
  ASSERT_TRUE(kavrel::CheckMesh(dst, nullptr));
  EXPECT_EQ(dst.face_sizes, (std::vector<int32_t>{3, 2, 1}));
  const auto polygons = Polygons(dst);
  EXPECT_EQ(polygons[1], (std::vector<Vec3>{{9, 2, 3}, {6, 5, 6}}));  // ends in their order
  EXPECT_EQ(polygons[2], (std::vector<Vec3>{{3, 8, 9}}));
  // The normals and texture coordinates dst has are completed without NaN.
  for (size_t c = 3; c < dst.corner_count(); ++c) {
    const Vec3 &n = dst.normals[dst.normal_index[c]];
    EXPECT_TRUE(std::isfinite(n[0]) && std::isfinite(n[1]) && std::isfinite(n[2]));
  }
  Vec3 low, high;
  kavrel::MeshBounds(dst, &low, &high);
  EXPECT_EQ(high, (Vec3{9, 8, 9}));
}
