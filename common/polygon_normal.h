// The normal of a polygon by Newell's method. Header only.
#ifndef COMMON_POLYGON_NORMAL_H
#define COMMON_POLYGON_NORMAL_H

#include <cstddef>
#include <type_traits>

#include "common/vec3.h"

namespace common {

// Unit normal of the polygon whose k-th corner is corner(k), k < count, in
// the turning sense of the corners; (0, 0, 0) for a polygon without area.
// Newell's sum is taken relative to the first corner and added up in
// double: exact for triangles, the best-fit plane's normal for larger,
// slightly bent polygons.
template <typename Corner>
auto PolygonNormal(size_t count, Corner corner) -> std::decay_t<decltype(corner(0))> {
  using V = std::decay_t<decltype(corner(0))>;
  using T = typename V::value_type;
  double sum[3] = {0, 0, 0};
  if (count >= 3) {
    const V origin = corner(0);
    for (size_t k = 1; k + 1 < count; ++k) {
      const V n = Cross(Sub(corner(k), origin), Sub(corner(k + 1), origin));
      for (int i = 0; i < 3; ++i) sum[i] += n[i];
    }
  }
  return Normalized(V{static_cast<T>(sum[0]), static_cast<T>(sum[1]), static_cast<T>(sum[2])});
}

}  // namespace common

#endif
