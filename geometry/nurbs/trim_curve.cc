#include "geometry/nurbs/trim_curve.h"

#include <algorithm>

#include "geometry/nurbs/sampling.h"

namespace nurbs {

void SampleTrimCurve(const KnotVector &knots, const std::vector<double> &control, int segments,
                     std::vector<Vec2> &out) {
  const int64_t spans = knots.SpanCount();
  if (knots.degree == 1) segments = 1;
  segments = static_cast<int>(std::clamp<int64_t>(kMaxCurvePoints / spans, 1, segments));
  const std::vector<double> params = SampleParameters(knots, segments);
  out.reserve(out.size() + params.size());
  double basis[kMaxOrder];
  for (double t : params) {
    const int span = knots.FindSpan(t);
    EvaluateBasis(knots, span, t, basis, nullptr);
    double x = 0.0, y = 0.0, w = 0.0;
    const double *p = &control[3 * static_cast<size_t>(span - knots.degree)];
    for (int k = 0; k < knots.Order(); ++k, p += 3) {
      x += basis[k] * p[0];
      y += basis[k] * p[1];
      w += basis[k] * p[2];
    }
    out.push_back({x / w, y / w});
  }
}

}  // namespace nurbs
