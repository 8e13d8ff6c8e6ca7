// Three-component vectors as arrays of any floating-point scalar, and the
// few operations geometry code needs on them. Header only and free of any
// other part of the project, so both the host and the plug-in can use it.
#ifndef COMMON_VEC3_H
#define COMMON_VEC3_H

#include <array>
#include <cmath>

namespace common {

template <typename T>
using Vec3 = std::array<T, 3>;

template <typename T>
Vec3<T> Add(const Vec3<T> &a, const Vec3<T> &b) {
  return {a[0] + b[0], a[1] + b[1], a[2] + b[2]};
}

template <typename T>
Vec3<T> Sub(const Vec3<T> &a, const Vec3<T> &b) {
  return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

template <typename T>
Vec3<T> Scale(const Vec3<T> &a, T s) {
  return {a[0] * s, a[1] * s, a[2] * s};
}

template <typename T>
Vec3<T> Negated(const Vec3<T> &a) {
  return {-a[0], -a[1], -a[2]};
}

template <typename T>
T Dot(const Vec3<T> &a, const Vec3<T> &b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

template <typename T>
Vec3<T> Cross(const Vec3<T> &a, const Vec3<T> &b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

template <typename T>
T Length(const Vec3<T> &a) {
  return std::sqrt(Dot(a, a));
}

// Scales *v to unit length; false (and *v unchanged) when its length is
// zero or not finite.
template <typename T>
bool Normalize(Vec3<T> *v) {
  const T length = Length(*v);
  if (!(length > T(0)) || !std::isfinite(length)) return false;
  for (T &c : *v) c /= length;
  return true;
}

// a / |a|, or (0, 0, 0) when a has no length or none that is finite.
template <typename T>
Vec3<T> Normalized(const Vec3<T> &a) {
  Vec3<T> unit = a;
  return Normalize(&unit) ? unit : Vec3<T>{0, 0, 0};
}

}  // namespace common

#endif
