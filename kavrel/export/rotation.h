// Rotations as glTF nodes carry them: unit quaternions (x, y, z, w) made
// from orthonormal frames; and as VRML carries them, an axis and an angle.
#ifndef KAVREL_EXPORT_ROTATION_H
#define KAVREL_EXPORT_ROTATION_H

#include <array>

#include "kavrel/toolkit/scene.h"

namespace kavrel {

using Quaternion = std::array<float, 4>;       // x, y, z, w

// A right-handed orthonormal frame: the images of the unit axes.
struct Frame {
  Vec3 x{1, 0, 0};
  Vec3 y{0, 1, 0};
  Vec3 z{0, 0, 1};
};

// The frame whose +Z is `z_axis` and whose +Y leans towards `up`. A zero
// z_axis keeps +Z; an up parallel to z_axis is replaced by another axis.
Frame LookFrame(const Vec3 &z_axis, const Vec3 &up);

Quaternion QuaternionFromFrame(const Frame &frame);

// The rotation b, then a (the matrix product a x b in column-vector form).
Quaternion MultiplyQuaternions(const Quaternion &a, const Quaternion &b);
// The inverse rotation of a unit quaternion.
Quaternion Conjugate(const Quaternion &q);

struct AxisAngle {
  Vec3 axis{0, 0, 1};                          // unit length
  float angle = 0;                             // radians in 0..pi, counter-clockwise about axis
};

// The rotation of the unit quaternion q; no rotation gives axis (0, 0, 1), angle 0.
AxisAngle AxisAngleOf(const Quaternion &q);

}  // namespace kavrel

#endif
