#include "geometry/nurbs/surface_eval.h"

#include <algorithm>

namespace nurbs {
namespace {

// The basis functions of one tensor-product sum: order_u x order_v control
// points from (first_u, first_v).
struct TensorBasis {
  int first_u, order_u, first_v, order_v;
  const double *bu, *bv;    // basis values
  const double *dbu, *dbv;  // first derivatives, or null
};

// value[0..dim) sums the control points with the basis values; when b has
// derivatives, du and dv sum them with the derivative along u and along v.
// One pass over the points serves all three.
void SumTensor(const double *control, int dim, int count_u, const TensorBasis &b, double *value, double *du,
               double *dv) {
  const bool derivs = b.dbu != nullptr;
  for (int c = 0; c < dim; ++c) value[c] = 0.0;
  if (derivs) {
    for (int c = 0; c < dim; ++c) du[c] = dv[c] = 0.0;
  }
  for (int j = 0; j < b.order_v; ++j) {
    double row[4] = {0.0, 0.0, 0.0, 0.0};
    double row_du[4] = {0.0, 0.0, 0.0, 0.0};
    const double *p = control + (static_cast<size_t>(b.first_v + j) * count_u + b.first_u) * dim;
    for (int i = 0; i < b.order_u; ++i, p += dim) {
      for (int c = 0; c < dim; ++c) row[c] += b.bu[i] * p[c];
      if (derivs) {
        for (int c = 0; c < dim; ++c) row_du[c] += b.dbu[i] * p[c];
      }
    }
    for (int c = 0; c < dim; ++c) value[c] += b.bv[j] * row[c];
    if (derivs) {
      for (int c = 0; c < dim; ++c) {
        du[c] += b.bv[j] * row_du[c];
        dv[c] += b.dbv[j] * row[c];
      }
    }
  }
}

// Derivatives smaller than this share of the surface's typical derivative,
// or a sine of their angle below it, count as vanished: rounding of control
// points that coincide in the file leaves noise far below this.
constexpr double kDegenerate = 1e-6;

bool IsDegenerate(const NurbsSurface &surface, const SurfaceDerivs &d, Vec3 &normal) {
  normal = Cross(d.du, d.dv);
  const double lu = Length(d.du);
  const double lv = Length(d.dv);
  const double typical_u = surface.scale / (surface.u.End() - surface.u.Begin());
  const double typical_v = surface.scale / (surface.v.End() - surface.v.Begin());
  if (!(lu > kDegenerate * typical_u) || !(lv > kDegenerate * typical_v)) return true;
  return !(Length(normal) > kDegenerate * lu * lv);
}

Vec3 Normalized(const Vec3 &n) { return n * (1.0 / Length(n)); }

// Moves t by share of the domain towards the domain's middle.
double Inward(double t, const KnotVector &knots, double share) {
  const double width = knots.End() - knots.Begin();
  const double step = share * width;
  return t < knots.Begin() + 0.5 * width ? t + step : t - step;
}

}  // namespace

void ComputeScale(NurbsSurface &surface) {
  Vec3 low{1e300, 1e300, 1e300};
  Vec3 high{-1e300, -1e300, -1e300};
  for (size_t i = 0; i + 3 < surface.control.size(); i += 4) {
    const double *p = &surface.control[i];
    const Vec3 q{p[0] / p[3], p[1] / p[3], p[2] / p[3]};
    low = {std::min(low.x, q.x), std::min(low.y, q.y), std::min(low.z, q.z)};
    high = {std::max(high.x, q.x), std::max(high.y, q.y), std::max(high.z, q.z)};
  }
  const double extent = std::max({high.x - low.x, high.y - low.y, high.z - low.z});
  surface.scale = extent > 0.0 ? extent : 1.0;
}

void EvaluateDerivs(const NurbsSurface &surface, const BasisAt &bu, const BasisAt &bv, SurfaceDerivs &out) {
  const TensorBasis basis{bu.span - surface.u.degree, surface.u.Order(), bv.span - surface.v.degree,
                          surface.v.Order(), bu.values, bv.values, bu.derivs, bv.derivs};
  double a[4], au[4], av[4];
  SumTensor(surface.control.data(), 4, surface.u.count, basis, a, au, av);
  // Quotient rule on the homogeneous sums: S = A / w, S' = (A' - w' S) / w.
  const double inv_w = 1.0 / a[3];
  out.point = {a[0] * inv_w, a[1] * inv_w, a[2] * inv_w};
  out.du = (Vec3{au[0], au[1], au[2]} - out.point * au[3]) * inv_w;
  out.dv = (Vec3{av[0], av[1], av[2]} - out.point * av[3]) * inv_w;
}

void EvaluateDerivsAt(const NurbsSurface &surface, double u, double v, SurfaceDerivs &out) {
  double nu[kMaxOrder], du[kMaxOrder], nv[kMaxOrder], dv[kMaxOrder];
  const BasisAt bu{surface.u.FindSpan(u), nu, du};
  const BasisAt bv{surface.v.FindSpan(v), nv, dv};
  EvaluateBasis(surface.u, bu.span, u, nu, du);
  EvaluateBasis(surface.v, bv.span, v, nv, dv);
  EvaluateDerivs(surface, bu, bv, out);
}

Vec3 SurfaceNormal(const NurbsSurface &surface, double u, double v, const SurfaceDerivs &derivs) {
  Vec3 normal;
  if (!IsDegenerate(surface, derivs, normal)) return Normalized(normal);
  for (double share : {1e-4, 1e-3, 1e-2, 1e-1}) {
    SurfaceDerivs nearby;
    EvaluateDerivsAt(surface, Inward(u, surface.u, share), Inward(v, surface.v, share), nearby);
    if (!IsDegenerate(surface, nearby, normal)) return Normalized(normal);
  }
  return {0.0, 0.0, 1.0};
}

double MapParameter(double t, const KnotVector &from, const KnotVector &to) {
  return to.Begin() + (t - from.Begin()) / (from.End() - from.Begin()) * (to.End() - to.Begin());
}

Vec2 EvaluateTexture(const TextureSurface &texture, const BasisAt &bs, const BasisAt &bt) {
  const TensorBasis basis{bs.span - texture.s.degree, texture.s.Order(), bt.span - texture.t.degree,
                          texture.t.Order(), bs.values, bt.values, nullptr, nullptr};
  double st[2];
  SumTensor(texture.control.data(), 2, texture.s.count, basis, st, nullptr, nullptr);
  return {st[0], st[1]};
}

Vec2 EvaluateTextureAt(const TextureSurface &texture, const NurbsSurface &surface, double u, double v) {
  const double s = MapParameter(u, surface.u, texture.s);
  const double t = MapParameter(v, surface.v, texture.t);
  double ns[kMaxOrder], nt[kMaxOrder];
  const BasisAt bs{texture.s.FindSpan(s), ns, nullptr};
  const BasisAt bt{texture.t.FindSpan(t), nt, nullptr};
  EvaluateBasis(texture.s, bs.span, s, ns, nullptr);
  EvaluateBasis(texture.t, bt.span, t, nt, nullptr);
  return EvaluateTexture(texture, bs, bt);
}

Vec2 DefaultTexture(const NurbsSurface &surface, double u, double v) {
  return {(u - surface.u.Begin()) / (surface.u.End() - surface.u.Begin()),
          (v - surface.v.Begin()) / (surface.v.End() - surface.v.Begin())};
}

}  // namespace nurbs
