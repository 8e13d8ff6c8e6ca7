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

}  // namespace kavrel
