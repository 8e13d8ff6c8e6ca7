#include "geometry/nurbs/sampling.h"

#include <algorithm>
#include <cmath>

namespace nurbs {

int CurvedSegmentsPerSpan(double complexity, ComplexityKind kind) {
  if (kind == ComplexityKind::kBoundingBox) return 2;
  // NaN fails both comparisons and falls to 0.
  const double c = complexity > 0.0 ? std::min(complexity, 1.0) : 0.0;
  return std::clamp(static_cast<int>(std::lround(2.0 + 30.0 * c * c)), 2, 32);
}

void LimitGridDensity(int64_t spans_u, int64_t spans_v, int &segments_u, int &segments_v, int64_t max_cells) {
  auto cells = [&] { return spans_u * segments_u * spans_v * segments_v; };
  while (cells() > max_cells && (segments_u > 1 || segments_v > 1)) {
    const double factor = std::sqrt(static_cast<double>(max_cells) / static_cast<double>(cells()));
    const int scaled_u = std::max(1, static_cast<int>(segments_u * factor));
    const int scaled_v = std::max(1, static_cast<int>(segments_v * factor));
    if (scaled_u == segments_u && scaled_v == segments_v) {
      // Rounding kept both: step down the denser direction.
      (segments_u >= segments_v ? segments_u : segments_v) -= 1;
    } else {
      segments_u = scaled_u;
      segments_v = scaled_v;
    }
  }
}

std::vector<double> SampleParameters(const KnotVector &knots, int segments) {
  std::vector<double> params;
  params.reserve(static_cast<size_t>(knots.SpanCount()) * segments + 1);
  const double *u = knots.knots.data();
  for (int i = knots.degree; i < knots.count; ++i) {
    if (!(u[i] < u[i + 1])) continue;
    const double step = (u[i + 1] - u[i]) / segments;
    for (int k = 0; k < segments; ++k) params.push_back(u[i] + k * step);
  }
  params.push_back(knots.End());
  return params;
}

}  // namespace nurbs
