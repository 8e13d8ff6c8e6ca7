#include "mesh_builders.h"

namespace meshtest {

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
  const float su[4] = {-0.5f, 0.5f, 0.5f, -0.5f}, sv[4] = {-0.5f, -0.5f, 0.5f, 0.5f};
  for (int axis = 0; axis < 3; ++axis) {
    for (float side : {-0.5f, 0.5f}) {
      Vec3 corner[4];
      for (int k = 0; k < 4; ++k) {
        corner[k][axis] = side;
        corner[k][(axis + 1) % 3] = su[k];
        corner[k][(axis + 2) % 3] = side > 0 ? sv[k] : -sv[k];
      }
      out.push_back({corner[0], corner[1], corner[2]});
      out.push_back({corner[0], corner[2], corner[3]});
    }
  }
  return out;
}

std::vector<Triangle> SphereTriangles(int rings, int segments) {
  auto on_sphere = [](double theta, double phi) {
    return Vec3{static_cast<float>(std::sin(theta) * std::cos(phi)), static_cast<float>(std::cos(theta)),
                static_cast<float>(std::sin(theta) * std::sin(phi))};
  };
  std::vector<Triangle> out;
  for (int r = 0; r < rings; ++r) {
    const double t0 = M_PI * r / rings, t1 = M_PI * (r + 1) / rings;
    for (int s = 0; s < segments; ++s) {
      const double p0 = 2 * M_PI * s / segments, p1 = 2 * M_PI * (s + 1) / segments;
      const Vec3 a = on_sphere(t0, p0), b = on_sphere(t0, p1), c = on_sphere(t1, p1), d = on_sphere(t1, p0);
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
    out.emplace_back();
    for (int32_t k = 0; k < size; ++k) out.back().push_back(mesh.positions[mesh.position_index[corner++]]);
  }
  return out;
}

}  // namespace meshtest
