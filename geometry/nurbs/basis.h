// Knot vectors and B-spline basis functions (Cox-de Boor recursion in the
// triangular form that also yields first derivatives).
#ifndef GEOMETRY_NURBS_BASIS_H
#define GEOMETRY_NURBS_BASIS_H

#include <cstdint>
#include <string>
#include <vector>

namespace nurbs {

// Highest order (degree + 1) accepted; the evaluators keep their basis
// tables on the stack at this size. Orders beyond any practical use are
// refused rather than allocated for.
constexpr int kMaxOrder = 24;

// A checked knot vector: non-decreasing, finite, sized count + order, with a
// non-empty parameter domain [knots[degree], knots[count]].
struct KnotVector {
  std::vector<double> knots;  // count + degree + 1 values
  int degree = 0;             // order - 1, at least 1
  int count = 0;              // number of control points along this direction

  int Order() const { return degree + 1; }
  double Begin() const { return knots[degree]; }
  double End() const { return knots[count]; }
  // Number of non-empty knot spans inside the domain.
  int SpanCount() const;
  // Span index i with knots[i] <= t < knots[i + 1], clamped to the domain;
  // the domain's end belongs to the last non-empty span.
  int FindSpan(double t) const;
};

// Builds a knot vector for count control points (count >= 2) from the values
// of a node's field called name; false with the problem, naming the field.
bool MakeKnotVector(const float *values, int num_values, int64_t count, const char *name, KnotVector &out,
                    std::string &problem);

// The order basis functions that are nonzero on span at t: values[k] and
// derivs[k] belong to control point span - degree + k. derivs may be null.
void EvaluateBasis(const KnotVector &knots, int span, double t, double *values, double *derivs);

// Basis functions of one knot vector at a list of parameters, laid out
// flat (Order() values per parameter) so the grid evaluator only indexes.
struct BasisTable {
  int order = 0;
  std::vector<int> spans;       // span per parameter
  std::vector<double> values;   // order values per parameter
  std::vector<double> derivs;   // order first derivatives per parameter
};
void FillBasisTable(const KnotVector &knots, const std::vector<double> &params, BasisTable &table);

// Formats a parameter or coordinate for a problem report.
std::string FormatNumber(double value);

}  // namespace nurbs

#endif
