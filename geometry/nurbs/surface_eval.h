// Evaluation of a (rational) NURBS surface and of the NURBS function that
// gives its texture coordinates: points, first partial derivatives, unit
// normals with a fallback where the derivatives vanish.
#ifndef GEOMETRY_NURBS_SURFACE_EVAL_H
#define GEOMETRY_NURBS_SURFACE_EVAL_H

#include <vector>

#include "geometry/nurbs/basis.h"
#include "geometry/nurbs/vector.h"

namespace nurbs {

// The geometry of one surface. Control points come as Inventor stores them:
// a Coordinate4 point (x, y, z, w) is homogeneous, the surface point is
// (x/w, y/w, z/w); a Coordinate3 point has w = 1.
struct NurbsSurface {
  KnotVector u;                  // along the rows of the control net
  KnotVector v;                  // across the rows
  std::vector<double> control;   // 4 values per point (x, y, z, w); point (i, j) at 4 * (j * u.count + i)
  double scale = 1.0;            // largest extent of the control points, for the degeneracy tests
};

// Sets surface.scale from its control points (1 when they all coincide).
void ComputeScale(NurbsSurface &surface);

// Texture coordinates as a non-rational NURBS function over the surface's
// parameters (SoTextureCoordinate2 points with sKnotVector / tKnotVector).
struct TextureSurface {
  KnotVector s;                  // along u
  KnotVector t;                  // along v
  std::vector<double> control;   // 2 values per point; point (i, j) at 2 * (j * s.count + i)
};

// One direction's nonzero basis functions at one parameter.
struct BasisAt {
  int span = 0;
  const double *values = nullptr;
  const double *derivs = nullptr;
};
inline BasisAt BasisFromTable(const BasisTable &table, size_t index) {
  return {table.spans[index], &table.values[index * table.order], &table.derivs[index * table.order]};
}

// A surface point with its partial derivatives along u and v.
struct SurfaceDerivs {
  Vec3 point;
  Vec3 du;
  Vec3 dv;
};

void EvaluateDerivs(const NurbsSurface &surface, const BasisAt &bu, const BasisAt &bv, SurfaceDerivs &out);
void EvaluateDerivsAt(const NurbsSurface &surface, double u, double v, SurfaceDerivs &out);

// Unit normal du x dv at (u, v), whose derivatives are given. Where they
// vanish or run parallel (a pole, a collapsed edge or corner) the normal is
// taken a little way into the domain, where the surface is regular again,
// at growing distances; this keeps the orientation of the rest of the
// surface. A surface degenerate everywhere gets +z.
Vec3 SurfaceNormal(const NurbsSurface &surface, double u, double v, const SurfaceDerivs &derivs);

// Maps a parameter of one knot vector's domain linearly onto another's, so
// that a texture function whose knots span a different range still covers
// the surface exactly once.
double MapParameter(double t, const KnotVector &from, const KnotVector &to);

Vec2 EvaluateTexture(const TextureSurface &texture, const BasisAt &bs, const BasisAt &bt);
Vec2 EvaluateTextureAt(const TextureSurface &texture, const NurbsSurface &surface, double u, double v);

// Inventor's default NURBS texture coordinates: the parameters normalised to
// [0, 1] over the domain, s along u and t along v.
Vec2 DefaultTexture(const NurbsSurface &surface, double u, double v);

}  // namespace nurbs

#endif
