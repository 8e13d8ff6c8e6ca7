// 4x4 matrices for row vectors: 16 scalars row by row, the translation in
// elements 12 to 14, a point transformed as p' = p x M. Header only.
#ifndef COMMON_MATRIX4_H
#define COMMON_MATRIX4_H

#include <array>

#include "common/vec3.h"

namespace common {

template <typename T>
using Matrix4 = std::array<T, 16>;

template <typename T>
Matrix4<T> IdentityMatrix4() {
  return Matrix4<T>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

// a x b: with row vectors, p x (a x b) applies a first, then b.
template <typename T>
Matrix4<T> MultiplyMatrix(const Matrix4<T> &a, const Matrix4<T> &b) {
  Matrix4<T> out{};
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 4; ++col) {
      T sum = 0;
      for (int k = 0; k < 4; ++k) sum += a[row * 4 + k] * b[k * 4 + col];
      out[row * 4 + col] = sum;
    }
  }
  return out;
}

// Column col of the point (p, 1) times m.
template <typename T>
T TransformedColumn(const Matrix4<T> &m, const Vec3<T> &p, int col) {
  return p[0] * m[col] + p[1] * m[4 + col] + p[2] * m[8 + col] + m[12 + col];
}

// p x m for an affine m: the projective column is not looked at.
template <typename T>
Vec3<T> TransformPoint(const Matrix4<T> &m, const Vec3<T> &p) {
  return {TransformedColumn(m, p, 0), TransformedColumn(m, p, 1), TransformedColumn(m, p, 2)};
}

// p x m divided by the resulting w (unless that is 0), for a matrix that
// may be projective.
template <typename T>
Vec3<T> TransformPointProjective(const Matrix4<T> &m, const Vec3<T> &p) {
  const T w = TransformedColumn(m, p, 3);
  const T divisor = w != T(0) ? w : T(1);
  const Vec3<T> affine = TransformPoint(m, p);
  return {affine[0] / divisor, affine[1] / divisor, affine[2] / divisor};
}

}  // namespace common

#endif
