#include "kavrel/export/rotation.h"

#include <cmath>

namespace kavrel {

Frame LookFrame(const Vec3 &z_axis, const Vec3 &up) {
  Frame frame;
  frame.z = z_axis;
  if (!Normalize(&frame.z)) frame.z = {0, 0, 1};
  // The first candidate that is not parallel to z gives x; the fixed axes
  // cover an up of zero length or one along the viewing direction (one of
  // them is always at least 45 degrees away from z).
  const Vec3 candidates[] = {up, {0, 1, 0}, {1, 0, 0}};
  for (Vec3 candidate : candidates) {
    if (!Normalize(&candidate)) continue;
    frame.x = Cross(candidate, frame.z);
    if (Length(frame.x) > 1e-4f && Normalize(&frame.x)) break;
  }
  frame.y = Cross(frame.z, frame.x);
  return frame;
}

Quaternion QuaternionFromFrame(const Frame &f) {
  // Shepperd's method on the matrix whose columns are the frame's axes.
  double m00 = f.x[0], m11 = f.y[1], m22 = f.z[2];
  double trace = m00 + m11 + m22;
  double q[4];
  if (trace > 0) {
    double s = std::sqrt(trace + 1.0) * 2;
    q[3] = 0.25 * s;
    q[0] = (f.y[2] - f.z[1]) / s;
    q[1] = (f.z[0] - f.x[2]) / s;
    q[2] = (f.x[1] - f.y[0]) / s;
  } else if (m00 > m11 && m00 > m22) {
    double s = std::sqrt(1.0 + m00 - m11 - m22) * 2;
    q[3] = (f.y[2] - f.z[1]) / s;
    q[0] = 0.25 * s;
    q[1] = (f.y[0] + f.x[1]) / s;
    q[2] = (f.z[0] + f.x[2]) / s;
  } else if (m11 > m22) {
    double s = std::sqrt(1.0 + m11 - m00 - m22) * 2;
    q[3] = (f.z[0] - f.x[2]) / s;
    q[0] = (f.y[0] + f.x[1]) / s;
    q[1] = 0.25 * s;
    q[2] = (f.z[1] + f.y[2]) / s;
  } else {
    double s = std::sqrt(1.0 + m22 - m00 - m11) * 2;
    q[3] = (f.x[1] - f.y[0]) / s;
    q[0] = (f.z[0] + f.x[2]) / s;
    q[1] = (f.z[1] + f.y[2]) / s;
    q[2] = 0.25 * s;
  }
  double norm = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
  return {static_cast<float>(q[0] / norm), static_cast<float>(q[1] / norm), static_cast<float>(q[2] / norm),
          static_cast<float>(q[3] / norm)};
}

Quaternion MultiplyQuaternions(const Quaternion &a, const Quaternion &b) {
  return {a[3] * b[0] + a[0] * b[3] + a[1] * b[2] - a[2] * b[1],
          a[3] * b[1] - a[0] * b[2] + a[1] * b[3] + a[2] * b[0],
          a[3] * b[2] + a[0] * b[1] - a[1] * b[0] + a[2] * b[3],
          a[3] * b[3] - a[0] * b[0] - a[1] * b[1] - a[2] * b[2]};
}

Quaternion Conjugate(const Quaternion &q) { return {-q[0], -q[1], -q[2], q[3]}; }

AxisAngle AxisAngleOf(const Quaternion &q) {
  // q and -q are the same rotation: the one with w >= 0 turns by at most pi.
  const float sign = q[3] < 0 ? -1.0f : 1.0f;
  Vec3 axis{sign * q[0], sign * q[1], sign * q[2]};
  const float half_sine = Length(axis);
  AxisAngle out;
  if (!(half_sine > 1e-7f) || !Normalize(&axis)) return out;
  out.axis = axis;
  out.angle = 2.0f * std::atan2(half_sine, sign * q[3]);
  return out;
}

}  // namespace kavrel
