// Small meshes for the mesh operation tests, stored the way the importer
// hands them over: every triangle with three corners of its own.
#ifndef TESTS_MESH_MESH_BUILDERS_H
#define TESTS_MESH_MESH_BUILDERS_H

#include <vector>

#include "kavrel/mesh/mesh_internal.h"

namespace meshtest {

using kavrel::Mesh;
using kavrel::Vec3;

struct Triangle {
  Vec3 a, b, c;
};

// Normal of a polygon from its first three corners (winding sense).
inline Vec3 PolygonNormal(const std::vector<Vec3> &p) {
  return kavrel::Normalized(kavrel::Cross(kavrel::Sub(p[1], p[0]), kavrel::Sub(p[2], p[0])));
}

// Separate corners: positions, face normals and texture coordinates (u, v
// from x, y), corner i using value i in every stream.
Mesh SeparateTriangles(const std::vector<Triangle> &triangles);

// Axis-aligned unit cube centred on the origin, counter-clockwise from outside.
std::vector<Triangle> CubeTriangles();

// Unit sphere of rings x segments quads split into triangles (fans at the poles).
std::vector<Triangle> SphereTriangles(int rings, int segments);

// The mesh's polygons as lists of positions.
std::vector<std::vector<Vec3>> Polygons(const Mesh &mesh);

inline bool Near(const Vec3 &a, const Vec3 &b, float tolerance = 1e-5f) {
  return std::fabs(a[0] - b[0]) <= tolerance && std::fabs(a[1] - b[1]) <= tolerance &&
         std::fabs(a[2] - b[2]) <= tolerance;
}

}  // namespace meshtest

#endif
