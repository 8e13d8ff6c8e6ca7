#include "geometry/nurbs/basis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace nurbs {

std::string FormatNumber(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

int KnotVector::SpanCount() const {
  int spans = 0;
  for (int i = degree; i < count; ++i) spans += knots[i] < knots[i + 1] ? 1 : 0;
  return spans;
}

int KnotVector::FindSpan(double t) const {
  const double *u = knots.data();
  if (t >= End()) {
    int i = count - 1;
    while (u[i] >= u[i + 1]) --i;
    return i;
  }
  if (t <= Begin()) {
    int i = degree;
    while (u[i + 1] <= u[i]) ++i;
    return i;
  }
  // Begin() < t < End(): the first knot above t closes the span.
  return static_cast<int>(std::upper_bound(u + degree, u + count + 1, t) - u) - 1;
}

bool MakeKnotVector(const float *values, int num_values, int64_t count, const char *name, KnotVector &out,
                    std::string &problem) {
  const int64_t fewest = count + 2;
  const int64_t most = count + std::min<int64_t>(count, kMaxOrder);
  if (num_values < fewest || num_values > most) {
    problem = std::string(name) + " has " + std::to_string(num_values) + " values; " + std::to_string(count) +
              " control points need between " + std::to_string(fewest) + " and " + std::to_string(most);
    return false;
  }
  for (int i = 0; i < num_values; ++i) {
    if (!std::isfinite(values[i])) {
      problem = std::string(name) + " value " + std::to_string(i) + " is not a finite number";
      return false;
    }
    if (i > 0 && values[i] < values[i - 1]) {
      problem = std::string(name) + " decreases at value " + std::to_string(i) + " (" + FormatNumber(values[i]) +
                " after " + FormatNumber(values[i - 1]) + ")";
      return false;
    }
  }
  out.count = static_cast<int>(count);
  out.degree = num_values - out.count - 1;
  out.knots.assign(values, values + num_values);
  if (!(out.Begin() < out.End())) {
    problem = std::string(name) + " leaves an empty parameter range (values " + std::to_string(out.degree) +
              " and " + std::to_string(out.count) + " are both " + FormatNumber(out.Begin()) + ")";
    return false;
  }
  return true;
}

void EvaluateBasis(const KnotVector &knots, int span, double t, double *values, double *derivs) {
  const int p = knots.degree;
  const double *u = knots.knots.data();
  // ndu[j][r] (r < j) holds knot differences, ndu[r][j] (r <= j) the basis
  // functions of degree j; column p - 1 feeds the derivatives.
  double ndu[kMaxOrder][kMaxOrder];
  double left[kMaxOrder];
  double right[kMaxOrder];
  ndu[0][0] = 1.0;
  for (int j = 1; j <= p; ++j) {
    left[j] = t - u[span + 1 - j];
    right[j] = u[span + j] - t;
    double saved = 0.0;
    for (int r = 0; r < j; ++r) {
      ndu[j][r] = right[r + 1] + left[j - r];
      const double temp = ndu[r][j - 1] / ndu[j][r];
      ndu[r][j] = saved + right[r + 1] * temp;
      saved = left[j - r] * temp;
    }
    ndu[j][j] = saved;
  }
  for (int r = 0; r <= p; ++r) values[r] = ndu[r][p];
  if (!derivs) return;
  for (int r = 0; r <= p; ++r) {
    double d = 0.0;
    if (r >= 1) d += ndu[r - 1][p - 1] / ndu[p][r - 1];
    if (r <= p - 1) d -= ndu[r][p - 1] / ndu[p][r];
    derivs[r] = p * d;
  }
}

void FillBasisTable(const KnotVector &knots, const std::vector<double> &params, BasisTable &table) {
  const int order = knots.Order();
  table.order = order;
  table.spans.resize(params.size());
  table.values.resize(params.size() * order);
  table.derivs.resize(params.size() * order);
  for (size_t i = 0; i < params.size(); ++i) {
    table.spans[i] = knots.FindSpan(params[i]);
    EvaluateBasis(knots, table.spans[i], params[i], &table.values[i * order], &table.derivs[i * order]);
  }
}

}  // namespace nurbs
