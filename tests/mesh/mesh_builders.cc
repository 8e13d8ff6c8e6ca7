#include "mesh_builders.h"

#include <cmath>

namespace meshtest {

namespace {

Vec3 Sub(const Vec3 &a, const Vec3 &b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
Vec3 Unit(const Vec3 &v) {
  float l = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  return l > 0 ? Vec3{v[0] / l, v[1] / l, v[2] / l} : Vec3{0, 0, 0};
}
Vec3 Cross(const Vec3 &a, const Vec3 &b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
Vec3 OnSphere(double theta, double phi) {
  return {static_cast<float>(std::sin(theta) * std::cos(phi)), static_cast<float>(std::cos(theta)),
          static_cast<float>(std::sin(theta) * std::sin(phi))};
}

}  // namespace

Mesh SeparateTriangles(const std::vector<Triangle> &triangles) {
  Mesh mesh;
  for (const Triangle &t : triangles) {
    const Vec3 n = PolygonNormal({t.a, t.b, t.c});
    for (const Vec3 &p : {t.a, t.b, t.c}) {
      const int32_t i = static_cast<int32_t>(mesh.positions.size());
      mesh.positions.push_back(p);
      mesh.normals.push_back(n);
      mesh.texcoords.push_back({p[0], p[1], 0});
      mesh.position_index.push_back(i);
      mesh.normal_index.push_back(i);
      mesh.texcoord_index.push_back(i);
    }
    mesh.face_sizes.push_back(3);
  }
  return mesh;
}

std::vector<Triangle> CubeTriangles() {
  std::vector<Triangle> out;
  for (int axis = 0; axis < 3; ++axis) {
    for (float side : {-0.5f, 0.5f}) {
      const int u = (axis + 1) % 3, v = (axis + 2) % 3;
      Vec3 corner[4];
      const float su[4] = {-0.5f, 0.5f, 0.5f, -0.5f}, sv[4] = {-0.5f, -0.5f, 0.5f, 0.5f};
      for (int k = 0; k < 4; ++k) {
        corner[k][axis] = side;
        corner[k][u] = su[k];
        corner[k][v] = side > 0 ? sv[k] : -sv[k];
      }
      out.push_back({corner[0], corner[1], corner[2]});
      out.push_back({corner[0], corner[2], corner[3]});
    }
  }
  return out;
}

std::vector<Triangle> SphereTriangles(int rings, int segments) {
  std::vector<Triangle> out;
  for (int r = 0; r < rings; ++r) {
    const double t0 = M_PI * r / rings, t1 = M_PI * (r + 1) / rings;
    for (int s = 0; s < segments; ++s) {
      const double p0 = 2 * M_PI * s / segments, p1 = 2 * M_PI * (s + 1) / segments;
      const Vec3 a = OnSphere(t0, p0), b = OnSphere(t0, p1), c = OnSphere(t1, p1), d = OnSphere(t1, p0);
      if (r > 0) out.push_back({a, b, c});
      if (r + 1 < rings) out.push_back({a, c, d});
    }
  }
  return out;
}

std::vector<std::vector<Vec3>> Polygons(const Mesh &mesh) {
  std::vector<std::vector<Vec3>> out;
  size_t corner = 0;
  for (int32_t size : mesh.face_sizes) {
    std::vector<Vec3> polygon;
    for (int32_t k = 0; k < size; ++k) polygon.push_back(mesh.positions[mesh.position_index[corner++]]);
    out.push_back(polygon);
  }
  return out;
}

Vec3 PolygonNormal(const std::vector<Vec3> &polygon) {
  return Unit(Cross(Sub(polygon[1], polygon[0]), Sub(polygon[2], polygon[0])));
}

bool Near(const Vec3 &a, const Vec3 &b, float tolerance) {
  for (int k = 0; k < 3; ++k)
    if (std::fabs(a[k] - b[k]) > tolerance) return false;
  return true;
}

}  // namespace meshtest
