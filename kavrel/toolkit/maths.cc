// Vector and matrix operations of the toolkit.
//
// One convention throughout: points are row vectors and matrices are 16
// floats row by row with the translation in elements 12 to 14, so a point
// is transformed as p' = p x M, and Kv_Matrix_Multiply(a, b) = a x b takes
// a point through a first, then b. The importer's cameras rely on this
// order: they build C = M x R, then C = C x T, and transform camera-frame
// points as p x C; under an identity model matrix M the eye (the origin)
// lands on the camera's position T and the target (0, 0, -10) lands 10
// units along the view direction that R turns -Z into.
#include <algorithm>
#include <cmath>

#include "common/matrix4.h"
#include "host/kv_toolkit.h"
#include "kavrel/toolkit/call_recorder.h"

namespace {

using kavrel::CallRecorder;

void Multiply(const float a[16], const float b[16], float out[16]) {
  kavrel::Matrix left, right;
  std::copy(a, a + 16, left.begin());
  std::copy(b, b + 16, right.begin());
  kavrel::Matrix product = kavrel::MultiplyMatrix(left, right);
  std::copy(product.begin(), product.end(), out);
}

}  // namespace

extern "C" void Kv_Matrix_Identity(float m[16]) {
  CallRecorder call(kavrel::CurrentHost(), "Kv_Matrix_Identity", kavrel::CallEffect::kLeavesMeshes);
  if (!call.pointer(m, "matrix")) return;
  kavrel::Matrix identity = kavrel::IdentityMatrix();
  std::copy(identity.begin(), identity.end(), m);
}

extern "C" void Kv_Matrix_Multiply(int16_t count, const float a[16], const float b[16], float out[16]) {
  CallRecorder call(kavrel::CurrentHost(), "Kv_Matrix_Multiply", kavrel::CallEffect::kLeavesMeshes);
  call.integers({count});
  bool usable = call.floats(a, 16, "first matrix");
  usable = call.floats(b, 16, "second matrix") && usable;
  usable = call.pointer(out, "product") && usable;
  if (usable) Multiply(a, b, out);
}

extern "C" void Kv_AngleAxis2Q(const float axis[3], double angle, float q[4], int flags) {
  CallRecorder call(kavrel::CurrentHost(), "Kv_AngleAxis2Q", kavrel::CallEffect::kLeavesMeshes);
  bool usable = call.floats(axis, 3, "axis");
  float radians = static_cast<float>(angle);
  call.floats(&radians, 1, "angle");
  call.integers({flags});
  usable = call.pointer(q, "quaternion") && usable;
  if (!usable) return;
  // As SbRotation(axis, angle): the axis is normalised; a zero axis gives
  // no rotation.
  double length = std::sqrt(double(axis[0]) * axis[0] + double(axis[1]) * axis[1] + double(axis[2]) * axis[2]);
  double s = length > 0 ? std::sin(angle / 2) / length : 0;
  q[0] = static_cast<float>(axis[0] * s);
  q[1] = static_cast<float>(axis[1] * s);
  q[2] = static_cast<float>(axis[2] * s);
  q[3] = length > 0 ? static_cast<float>(std::cos(angle / 2)) : 1.0f;
}

// The rotation matrix for row vectors, as SbRotation::getValue(SbMatrix&).
extern "C" void Kv_Matrix_Q2RotationMatrix(const float q[4], float m[16]) {
  CallRecorder call(kavrel::CurrentHost(), "Kv_Matrix_Q2RotationMatrix", kavrel::CallEffect::kLeavesMeshes);
  bool usable = call.floats(q, 4, "quaternion");
  usable = call.pointer(m, "matrix") && usable;
  if (!usable) return;
  const float x = q[0], y = q[1], z = q[2], w = q[3];
  const float rows[16] = {
      1 - 2 * (y * y + z * z), 2 * (x * y + z * w),     2 * (z * x - y * w),     0,
      2 * (x * y - z * w),     1 - 2 * (z * z + x * x), 2 * (y * z + x * w),     0,
      2 * (z * x + y * w),     2 * (y * z - x * w),     1 - 2 * (y * y + x * x), 0,
      0,                       0,                       0,                       1};
  std::copy(rows, rows + 16, m);
}

extern "C" void Kv_Vector_Transform(int32_t flag, int16_t f1, int16_t f2, int16_t f3, int16_t f4, int16_t f5,
                                    const float p[3], const float m[16], float out[3]) {
  CallRecorder call(kavrel::CurrentHost(), "Kv_Vector_Transform", kavrel::CallEffect::kLeavesMeshes);
  call.integers({flag, f1, f2, f3, f4, f5});
  bool usable = call.floats(p, 3, "point");
  usable = call.floats(m, 16, "matrix") && usable;
  usable = call.pointer(out, "result") && usable;
  if (!usable) return;
  kavrel::Matrix matrix;
  std::copy(m, m + 16, matrix.begin());
  // A projective matrix divides by w, as SbMatrix::multVecMatrix does.
  const kavrel::Vec3 result = common::TransformPointProjective(matrix, kavrel::Vec3{p[0], p[1], p[2]});
  std::copy(result.begin(), result.end(), out);
}

extern "C" void Kv_Vector_Normalize(float v[3]) {
  CallRecorder call(kavrel::CurrentHost(), "Kv_Vector_Normalize", kavrel::CallEffect::kLeavesMeshes);
  if (!call.floats(v, 3, "vector")) return;
  kavrel::Vec3 vector{v[0], v[1], v[2]};
  if (!kavrel::Normalize(&vector)) return;  // the zero vector stays zero
  std::copy(vector.begin(), vector.end(), v);
}

extern "C" void Kv_Vector_Zero(float v[3]) {
  CallRecorder call(kavrel::CurrentHost(), "Kv_Vector_Zero", kavrel::CallEffect::kLeavesMeshes);
  if (!call.pointer(v, "vector")) return;
  v[0] = v[1] = v[2] = 0.0f;
}
