// Small double-precision vectors for the NURBS tessellator. Parameters, trim
// curves and derivatives are kept in double so that knot values such as
// 0.03125 and long thin trim loops keep their exactness until the final
// conversion to the float vertices the host receives.
#ifndef GEOMETRY_NURBS_VECTOR_H
#define GEOMETRY_NURBS_VECTOR_H

#include <cmath>

namespace nurbs {

// A point in the (u, v) parameter plane of a surface.
struct Vec2 {
  double x = 0.0;  // u
  double y = 0.0;  // v
};

struct Vec3 {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

inline Vec3 operator+(const Vec3 &a, const Vec3 &b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(const Vec3 &a, const Vec3 &b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(const Vec3 &a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline double Dot(const Vec3 &a, const Vec3 &b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline double Length(const Vec3 &a) { return std::sqrt(Dot(a, a)); }
inline Vec3 Cross(const Vec3 &a, const Vec3 &b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

}  // namespace nurbs

#endif
