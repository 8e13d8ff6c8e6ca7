// How densely a NURBS surface is sampled: segments per knot span from the
// scene's complexity, the parameter values of the sampling grid, and the
// bound that keeps any input's output finite.
#ifndef GEOMETRY_NURBS_SAMPLING_H
#define GEOMETRY_NURBS_SAMPLING_H

#include <cstdint>
#include <vector>

#include "geometry/nurbs/basis.h"

namespace nurbs {

// The complexity types of Coin3D's SoComplexityTypeElement, in its order.
enum class ComplexityKind { kObjectSpace = 0, kScreenSpace = 1, kBoundingBox = 2 };

// Segments per knot span along a curved (degree >= 2) direction.
//   object space, screen space: clamp(round(2 + 30 c^2), 2, 32) for the
//     complexity value c clamped to [0, 1]: 2 at 0, 10 at the default 0.5,
//     32 at 1. There is no camera here, so screen space is read as object
//     space.
//   bounding box: 2, the coarse grid that also complexity 0 gives.
// A degree-1 direction is straight between knots and always gets 1.
int CurvedSegmentsPerSpan(double complexity, ComplexityKind kind);

// Largest sampling grid made for one surface before the segments per span
// are scaled down; a surface with more knot spans than this still gets one
// segment per span, so the output stays proportional to the input.
constexpr int64_t kMaxGridCells = int64_t(1) << 18;

// Scales segments_u and segments_v down (never below 1) until
// spans_u * segments_u * spans_v * segments_v fits in max_cells.
void LimitGridDensity(int64_t spans_u, int64_t spans_v, int &segments_u, int &segments_v, int64_t max_cells);

// The parameters of the grid lines along one direction: every non-empty knot
// span of the domain cut into segments equal parts, ends included, so that
// every knot inside the domain is a grid line.
std::vector<double> SampleParameters(const KnotVector &knots, int segments);

}  // namespace nurbs

#endif
