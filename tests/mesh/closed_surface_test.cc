// Telling the closed, outward-facing surface of a solid from every other mesh.
#include <gtest/gtest.h>

#include <utility>

#include "kavrel/mesh/closed_surface.h"
#include "mesh_builders.h"

using kavrel::IsClosedOutwardSurface;
using namespace meshtest;

namespace {

std::vector<Triangle> Flipped(std::vector<Triangle> triangles, size_t first, size_t count) {
  for (size_t i = first; i < first + count; ++i) std::swap(triangles[i].b, triangles[i].c);
  return triangles;
}

}  // namespace

TEST(ClosedSurface, SolidsWoundOutwardsAreClosedOnceTheirCornersAreWelded) {
  EXPECT_TRUE(IsClosedOutwardSurface(SeparateTriangles(CubeTriangles())));
  EXPECT_TRUE(IsClosedOutwardSurface(SeparateTriangles(SphereTriangles(8, 12))));
  // Corners apart by less than the weld's millionth of the extent (a seam
  // computed twice): still closed, though the surface has a gap.
  std::vector<Triangle> seamed = SphereTriangles(8, 12);
  for (Triangle &t : seamed) t.a[0] += 4e-7f;
  EXPECT_TRUE(IsClosedOutwardSurface(SeparateTriangles(seamed)));
  // Turned inside out: closed, but the fronts face inwards ...
  const std::vector<Triangle> inside_out = Flipped(CubeTriangles(), 0, CubeTriangles().size());
  EXPECT_FALSE(IsClosedOutwardSurface(SeparateTriangles(inside_out)));
  // ... unless the mesh says its fronts run clockwise.
  Mesh clockwise = SeparateTriangles(inside_out);
  clockwise.clockwise = true;
  EXPECT_TRUE(IsClosedOutwardSurface(clockwise));
}

TEST(ClosedSurface, OpenMixedOrNonManifoldMeshesAreNot) {
  std::vector<Triangle> open = CubeTriangles();
  open.pop_back();
  EXPECT_FALSE(IsClosedOutwardSurface(SeparateTriangles(open)));
  // One side of the cube wound the other way round.
  EXPECT_FALSE(IsClosedOutwardSurface(SeparateTriangles(Flipped(CubeTriangles(), 0, 2))));
  // A flat square, both windings: no volume at all.
  EXPECT_FALSE(IsClosedOutwardSurface(
      SeparateTriangles({{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, {{0, 0, 0}, {1, 1, 0}, {1, 0, 0}}})));
  // Two cubes touching along one edge: that edge has four polygons.
  std::vector<Triangle> pair = CubeTriangles();
  for (Triangle t : CubeTriangles()) {
    for (Vec3 *p : {&t.a, &t.b, &t.c}) {
      (*p)[0] += 1;
      (*p)[1] += 1;
    }
    pair.push_back(t);
  }
  EXPECT_FALSE(IsClosedOutwardSurface(SeparateTriangles(pair)));
  EXPECT_FALSE(IsClosedOutwardSurface(Mesh()));
}

TEST(ClosedSurface, PolygonsWithoutAreaDoNotOpenTheSurface) {
  // A cube plus a triangle collapsed onto one corner and zero-filled
  // triangles at the origin, as Coin3D's pre-sized buffers end.
  std::vector<Triangle> cube = CubeTriangles();
  cube.push_back({cube[0].a, cube[0].a, cube[0].b});
  cube.push_back({{0, 0, 0}, {0, 0, 0}, {0, 0, 0}});
  EXPECT_TRUE(IsClosedOutwardSurface(SeparateTriangles(cube)));
}
