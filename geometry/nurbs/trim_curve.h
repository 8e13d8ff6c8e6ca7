// Trim curves given as NURBS (SoNurbsProfile) sampled into polylines in the
// surface's parameter plane.
#ifndef GEOMETRY_NURBS_TRIM_CURVE_H
#define GEOMETRY_NURBS_TRIM_CURVE_H

#include <cstdint>
#include <vector>

#include "geometry/nurbs/basis.h"
#include "geometry/nurbs/vector.h"

namespace nurbs {

// Most points one trim curve is sampled into; curves with more knot spans
// than this still get one point per span.
constexpr int64_t kMaxCurvePoints = int64_t(1) << 16;

// Appends the curve's points at segments per span along every non-empty
// span (1 for a degree-1 curve, whose spans are straight), from the start of
// the domain to its end. control holds 3 values per point, homogeneous
// (x, y, w) as ProfileCoordinate3 stores them; w is 1 for ProfileCoordinate2.
void SampleTrimCurve(const KnotVector &knots, const std::vector<double> &control, int segments,
                     std::vector<Vec2> &out);

}  // namespace nurbs

#endif
