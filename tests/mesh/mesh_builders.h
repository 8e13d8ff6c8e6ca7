// Small meshes for the mesh operation tests, stored the way the importer
// hands them over: every triangle with three corners of its own.
#ifndef TESTS_MESH_MESH_BUILDERS_H
#define TESTS_MESH_MESH_BUILDERS_H

#include <vector>

#include "kavrel/toolkit/scene.h"

namespace meshtest {

using kavrel::Mesh;
using kavrel::Vec3;

struct Triangle {
  Vec3 a, b, c;
};

// Separate corners: positions, face normals and texture coordinates (u, v
// from x, y) one per corner, corner i using value i in every stream.
Mesh SeparateTriangles(const std::vector<Triangle> &triangles);

// Axis-aligned unit cube centred on the origin, two triangles per side,
// counter-clockwise seen from outside.
std::vector<Triangle> CubeTriangles();

// Unit sphere, rings x segments quads split into triangles (fans at the poles).
std::vector<Triangle> SphereTriangles(int rings, int segments);

// The mesh's polygons as lists of positions, for order-independent checks.
std::vector<std::vector<Vec3>> Polygons(const Mesh &mesh);

// Normal of the polygon from its first three corners (winding sense).
Vec3 PolygonNormal(const std::vector<Vec3> &polygon);

bool Near(const Vec3 &a, const Vec3 &b, float tolerance = 1e-5f);

}  // namespace meshtest

#endif
