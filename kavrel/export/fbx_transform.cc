#include "kavrel/export/fbx_transform.h"

#include <algorithm>
#include <cmath>

#include "kavrel/export/node_transform.h"

namespace kavrel {
namespace {

constexpr double kDegrees = 180.0 / 3.14159265358979323846;

Frame FrameOf(const Quaternion &q) {
  const double x = q[0], y = q[1], z = q[2], w = q[3];
  Frame f;
  f.x = {float(1 - 2 * (y * y + z * z)), float(2 * (x * y + z * w)), float(2 * (x * z - y * w))};
  f.y = {float(2 * (x * y - z * w)), float(1 - 2 * (x * x + z * z)), float(2 * (y * z + x * w))};
  f.z = {float(2 * (x * z + y * w)), float(2 * (y * z - x * w)), float(1 - 2 * (x * x + y * y))};
  return f;
}

// The row-vector matrix of a rotation: its rows are the images of the axes.
Matrix RotationMatrix(const Frame &f) {
  return Matrix{f.x[0], f.x[1], f.x[2], 0, f.y[0], f.y[1], f.y[2], 0, f.z[0], f.z[1], f.z[2], 0, 0, 0, 0, 1};
}

// A matrix with orthogonal rows: each row is its scale times the image of
// its axis. Where the images would form a left-handed frame, the axis whose
// image turns furthest from itself is negated along with its scale.
void SplitOrthogonal(const Matrix &m, FbxTransform *out) {
  Vec3 axes[3];
  for (int j = 0; j < 3; ++j) {
    axes[j] = {m[4 * j], m[4 * j + 1], m[4 * j + 2]};
    out->scale[j] = Length(axes[j]);
    Normalize(&axes[j]);
  }
  if (Dot(axes[0], Cross(axes[1], axes[2])) < 0) {
    int flip = 0;
    for (int j = 1; j < 3; ++j) {
      if (axes[j][j] < axes[flip][flip]) flip = j;
    }
    axes[flip] = common::Negated(axes[flip]);
    out->scale[flip] = -out->scale[flip];
  }
  out->rotation = EulerDegrees(Frame{axes[0], axes[1], axes[2]});
}

}  // namespace

Double3 EulerDegrees(const Frame &f) {
  // R = Rz(c) Ry(b) Rx(a) with column vectors, R[r][k] = image of axis k, row r.
  const double r20 = std::clamp<double>(f.x[2], -1, 1);
  const double b = std::asin(-r20);
  double a, c;
  if (std::fabs(r20) < 0.9999999) {
    a = std::atan2(f.y[2], f.z[2]);
    c = std::atan2(f.x[1], f.x[0]);
  } else {  // Y turned by +-90 degrees: only a - c or a + c counts
    a = std::atan2(-f.z[1], f.y[1]);
    c = 0;
  }
  return {a * kDegrees, b * kDegrees, c * kDegrees};
}

FbxTransform FbxTransformFor(const Matrix &matrix, ExportNotes &notes) {
  const NodeTransform node = NodeTransformFor(matrix, notes);
  FbxTransform out;
  switch (node.kind) {
    case NodeTransform::Kind::kIdentity:
      break;
    case NodeTransform::Kind::kMatrix:
      out.translation = {node.matrix[12], node.matrix[13], node.matrix[14]};
      SplitOrthogonal(node.matrix, &out);
      break;
    case NodeTransform::Kind::kSplit:
      out.translation = {node.translation[0], node.translation[1], node.translation[2]};
      out.rotation = EulerDegrees(FrameOf(node.rotation));
      out.scale = {node.scale[0], node.scale[1], node.scale[2]};
      out.sheared = true;
      out.inner = RotationMatrix(FrameOf(node.inner_rotation));
      break;
  }
  return out;
}

FbxTransform PlacedTransform(const Vec3 &position, const Frame &frame, ExportNotes &notes) {
  FbxTransform out;
  for (int i = 0; i < 3; ++i) out.translation[i] = notes.Finite(position[i]);
  out.rotation = EulerDegrees(frame);
  return out;
}

Frame LightFrame(const Vec3 &direction) {
  const Frame look = LookFrame(common::Negated(direction), {0, 1, 0});
  return Frame{look.x, look.z, common::Negated(look.y)};
}

Frame CameraFrame(const Vec3 &eye, const Vec3 &target, const Vec3 &up) {
  const Frame look = LookFrame(Sub(eye, target), up);
  return Frame{common::Negated(look.z), look.y, look.x};
}

}  // namespace kavrel
