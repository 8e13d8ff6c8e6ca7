// Appending meshes under a matrix: what gathering instances into one object bakes in.
#include <gtest/gtest.h>

#include "kavrel/mesh/mesh_ops.h"
#include "mesh_builders.h"

using kavrel::AppendMesh;
using kavrel::Matrix;
using namespace meshtest;

TEST(Append, MirrorAndStretchKeepPolygonsFacingTheirNormals) {
  const Mesh triangle = SeparateTriangles({{{0, 0, 0}, {1, 0, 0}, {0, 1, 1}}});
  // x mirrored, y stretched by 3, moved by (5, 0, 0).
  const Matrix mirror{-1, 0, 0, 0, 0, 3, 0, 0, 0, 0, 1, 0, 5, 0, 0, 1};
  Mesh out;
  AppendMesh(out, triangle, mirror);
  ASSERT_TRUE(kavrel::CheckMesh(out, nullptr));
  const auto polygon = Polygons(out)[0];
  EXPECT_TRUE(Near(polygon[0], {5, 0, 0}));
  EXPECT_TRUE(Near(polygon[1], {5, 3, 1}) || Near(polygon[2], {5, 3, 1}));
  // The corner order turned over, so the winding normal agrees with the
  // normals carried through the inverse transpose.
  const Vec3 n = out.normals[out.normal_index[0]];
  EXPECT_TRUE(Near(PolygonNormal(polygon), n, 1e-4f));
  EXPECT_FALSE(out.clockwise);
}

TEST(Append, MissingStreamsAndPerFaceSurfacesAreCompleted) {
  Mesh plain = SeparateTriangles({{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}});
  Mesh coloured = plain;
  coloured.colors = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  coloured.color_index = {0, 1, 2};
  coloured.surface_names = {"blue", "red"};
  coloured.face_surface = {1};
  plain.normals.clear();
  plain.normal_index.clear();

  Mesh out;
  AppendMesh(out, coloured, kavrel::IdentityMatrix());
  AppendMesh(out, plain, kavrel::IdentityMatrix());
  AppendMesh(out, coloured, kavrel::IdentityMatrix());
  ASSERT_TRUE(kavrel::CheckMesh(out, nullptr));
  EXPECT_EQ(out.face_sizes.size(), 3u);
  EXPECT_EQ(out.surface_names, (std::vector<std::string>{"red"}));
  EXPECT_EQ(out.face_surface, (std::vector<int32_t>{0, -1, 0}));
  EXPECT_EQ(out.colors[out.color_index[3]], (Vec3{1, 1, 1}));
  EXPECT_TRUE(Near(out.normals[out.normal_index[4]], {0, 0, 1}));
}
