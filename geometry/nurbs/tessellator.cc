#include "geometry/nurbs/tessellator.h"

namespace nurbs {
namespace {

SurfaceVertex MakeVertex(const NurbsSurface &surface, double u, double v, const SurfaceDerivs &derivs,
                         const Vec2 &tex) {
  const Vec3 n = SurfaceNormal(surface, u, v, derivs);
  const Vec3 &p = derivs.point;
  return {{float(p.x), float(p.y), float(p.z)}, {float(n.x), float(n.y), float(n.z)}, {float(tex.x), float(tex.y)}};
}

SurfaceVertex VertexAt(const TessellationInput &input, double u, double v) {
  SurfaceDerivs derivs;
  EvaluateDerivsAt(input.surface, u, v, derivs);
  const Vec2 tex = input.textured ? EvaluateTextureAt(input.texture, input.surface, u, v)
                                  : DefaultTexture(input.surface, u, v);
  return MakeVertex(input.surface, u, v, derivs, tex);
}

std::vector<double> MapAll(const std::vector<double> &params, const KnotVector &from, const KnotVector &to) {
  std::vector<double> mapped(params.size());
  for (size_t k = 0; k < params.size(); ++k) mapped[k] = MapParameter(params[k], from, to);
  return mapped;
}

// The grid samples, row by row (u fastest), with basis functions computed
// once per grid line.
void EvaluateGrid(const TessellationInput &input, const std::vector<double> &us, const std::vector<double> &vs,
                  std::vector<SurfaceVertex> &vertices) {
  const NurbsSurface &surface = input.surface;
  BasisTable bu, bv, bs, bt;
  FillBasisTable(surface.u, us, bu);
  FillBasisTable(surface.v, vs, bv);
  if (input.textured) {
    FillBasisTable(input.texture.s, MapAll(us, surface.u, input.texture.s), bs);
    FillBasisTable(input.texture.t, MapAll(vs, surface.v, input.texture.t), bt);
  }
  vertices.clear();
  vertices.reserve(us.size() * vs.size());
  for (size_t j = 0; j < vs.size(); ++j) {
    const BasisAt at_v = BasisFromTable(bv, j);
    for (size_t i = 0; i < us.size(); ++i) {
      SurfaceDerivs derivs;
      EvaluateDerivs(surface, BasisFromTable(bu, i), at_v, derivs);
      const Vec2 tex = input.textured ? EvaluateTexture(input.texture, BasisFromTable(bs, i), BasisFromTable(bt, j))
                                      : DefaultTexture(surface, us[i], vs[j]);
      vertices.push_back(MakeVertex(surface, us[i], vs[j], derivs, tex));
    }
  }
}

void AllCells(size_t columns, size_t rows, std::vector<uint32_t> &cells) {
  cells.resize(columns * rows);
  for (size_t k = 0; k < cells.size(); ++k) cells[k] = static_cast<uint32_t>(k);
}

// Two counter-clockwise triangles per kept cell.
void EmitWholeCells(const std::vector<uint32_t> &cells, uint32_t columns, std::vector<uint32_t> &triangles) {
  const uint32_t stride = columns + 1;
  for (uint32_t cell : cells) {
    const uint32_t n00 = (cell / columns) * stride + cell % columns;
    const uint32_t n10 = n00 + 1, n01 = n00 + stride, n11 = n01 + 1;
    triangles.insert(triangles.end(), {n00, n10, n11, n00, n11, n01});
  }
}

// Corners on grid samples reuse them; the others are evaluated where they lie.
void EmitCutCorners(const TessellationInput &input, const std::vector<ParamCorner> &corners, SurfaceMesh &mesh) {
  for (const ParamCorner &corner : corners) {
    if (corner.node >= 0) {
      mesh.triangles.push_back(static_cast<uint32_t>(corner.node));
      continue;
    }
    mesh.triangles.push_back(static_cast<uint32_t>(mesh.vertices.size()));
    mesh.vertices.push_back(VertexAt(input, corner.uv.x, corner.uv.y));
  }
}

}  // namespace

void TessellateSurface(const TessellationInput &input, SurfaceMesh &mesh, std::string &warning) {
  warning.clear();
  const NurbsSurface &surface = input.surface;
  int segments_u = surface.u.degree == 1 ? 1 : input.curved_segments;
  int segments_v = surface.v.degree == 1 ? 1 : input.curved_segments;
  LimitGridDensity(surface.u.SpanCount(), surface.v.SpanCount(), segments_u, segments_v, input.max_cells);
  const std::vector<double> us = SampleParameters(surface.u, segments_u);
  const std::vector<double> vs = SampleParameters(surface.v, segments_v);
  EvaluateGrid(input, us, vs, mesh.vertices);

  TrimResult kept;
  const size_t columns = us.size() - 1, rows = vs.size() - 1;
  if (input.loops.empty()) {
    AllCells(columns, rows, kept.whole_cells);
  } else if (!TrimGrid(us, vs, input.loops, kept)) {
    warning = "trim curves ignored, the surface is imported untrimmed: they are too dense to cut within the work limit";
    AllCells(columns, rows, kept.whole_cells);
  }
  mesh.triangles.clear();
  mesh.triangles.reserve(kept.whole_cells.size() * 6 + kept.cut_corners.size());
  mesh.vertices.reserve(mesh.vertices.size() + kept.cut_corners.size());
  EmitWholeCells(kept.whole_cells, static_cast<uint32_t>(columns), mesh.triangles);
  EmitCutCorners(input, kept.cut_corners, mesh);
}

}  // namespace nurbs
