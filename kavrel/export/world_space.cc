#include "kavrel/export/world_space.h"

#include <cmath>

namespace kavrel {

NormalTransform NormalTransformOf(const Matrix &world) {
  // Row r of a row-vector matrix is the image of axis r.
  const Vec3 r0{world[0], world[1], world[2]}, r1{world[4], world[5], world[6]}, r2{world[8], world[9], world[10]};
  NormalTransform out{Cross(r1, r2), Cross(r2, r0), Cross(r0, r1)};
  if (Dot(r0, out.x) < 0) out = {common::Negated(out.x), common::Negated(out.y), common::Negated(out.z)};
  return out;
}

Vec3 TransformNormal(const NormalTransform &t, const Vec3 &n) {
  Vec3 out;
  for (int i = 0; i < 3; ++i) out[i] = t.x[i] * n[0] + t.y[i] * n[1] + t.z[i] * n[2];
  const float length = std::sqrt(out[0] * out[0] + out[1] * out[1] + out[2] * out[2]);
  if (!(length > 0)) return out;
  const float inverse = 1.0f / length;
  for (float &c : out) c *= inverse;
  return out;
}

}  // namespace kavrel
