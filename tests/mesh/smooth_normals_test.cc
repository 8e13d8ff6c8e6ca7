// Smooth normals with a crease angle.
#include <gtest/gtest.h>

#include <cmath>

#include "kavrel/mesh/mesh_ops.h"
#include "mesh_builders.h"

using kavrel::CalcSmoothNormals;
using kavrel::CombineStream;
using kavrel::MeshStream;
using namespace meshtest;

namespace {

Mesh WeldedCube() {
  Mesh mesh = SeparateTriangles(CubeTriangles());
  CombineStream(mesh, MeshStream::kPosition, 0.0001f);
  return mesh;
}

// Each corner's normal against the normal of its polygon.
void ExpectFaceNormals(const Mesh &mesh, float sign) {
  const auto polygons = Polygons(mesh);
  size_t corner = 0;
  for (size_t f = 0; f < polygons.size(); ++f) {
    Vec3 n = PolygonNormal(polygons[f]);
    for (float &x : n) x *= sign;
    for (size_t k = 0; k < polygons[f].size(); ++k, ++corner)
      EXPECT_TRUE(Near(mesh.normals[mesh.normal_index[corner]], n)) << "polygon " << f;
  }
}

}  // namespace

TEST(SmoothNormals, CubeKeepsItsEdgesAt45DegreesAndRoundsThemAt100) {
  Mesh mesh = WeldedCube();
  CalcSmoothNormals(mesh, 45.0f);
  ASSERT_TRUE(kavrel::CheckMesh(mesh, nullptr));
  EXPECT_EQ(mesh.normals.size(), 24u);
  ExpectFaceNormals(mesh, 1.0f);

  CalcSmoothNormals(mesh, 100.0f);
  EXPECT_EQ(mesh.normals.size(), 8u);
  for (size_t c = 0; c < mesh.corner_count(); ++c) {
    const Vec3 &p = mesh.positions[mesh.position_index[c]];
    const float s = 1.0f / std::sqrt(3.0f);
    EXPECT_TRUE(Near(mesh.normals[mesh.normal_index[c]], {p[0] * 2 * s, p[1] * 2 * s, p[2] * 2 * s}, 1e-4f));
  }
}

TEST(SmoothNormals, ClockwiseMeshGetsNormalsOnItsOtherSide) {
  Mesh mesh = WeldedCube();
  mesh.clockwise = true;
  CalcSmoothNormals(mesh, 30.0f);
  ExpectFaceNormals(mesh, -1.0f);
}

TEST(SmoothNormals, SphereIsSmoothAtTheUsualAngle) {
  Mesh mesh = SeparateTriangles(SphereTriangles(12, 24));
  CombineStream(mesh, MeshStream::kPosition, 0.0001f);
  CalcSmoothNormals(mesh, 45.0f);
  // One normal per position (the seam of the parameterisation welds too),
  // pointing along the position, all on the same side.
  EXPECT_EQ(mesh.normals.size(), mesh.positions.size());
  float side = 0;
  for (size_t c = 0; c < mesh.corner_count(); ++c) {
    const Vec3 &p = mesh.positions[mesh.position_index[c]];
    const Vec3 &n = mesh.normals[mesh.normal_index[c]];
    const float d = p[0] * n[0] + p[1] * n[1] + p[2] * n[2];
    if (side == 0) side = d > 0 ? 1.0f : -1.0f;
    EXPECT_GT(d * side, 0.99f);
  }
}
