// The whole tessellation of one NURBS surface, free of Coin3D: sampling grid,
// evaluation, trimming, triangles.
#ifndef GEOMETRY_NURBS_TESSELLATOR_H
#define GEOMETRY_NURBS_TESSELLATOR_H

#include <cstdint>
#include <string>
#include <vector>

#include "geometry/nurbs/sampling.h"
#include "geometry/nurbs/surface_eval.h"
#include "geometry/nurbs/trimming.h"

namespace nurbs {

// Everything the tessellator needs, already checked.
struct TessellationInput {
  NurbsSurface surface;
  bool textured = false;             // texture coordinates come from texture; else the default ones
  TextureSurface texture;            // used when textured
  std::vector<TrimLoop> loops;       // trim loops; none keeps the whole domain
  int curved_segments = 10;          // segments per knot span along a curved direction (CurvedSegmentsPerSpan)
  int64_t max_cells = kMaxGridCells; // bound on the sampling grid (LimitGridDensity)
};

// One output vertex.
struct SurfaceVertex {
  float point[3];   // position in the surface's own coordinates
  float normal[3];  // unit normal, du x dv
  float tex[2];     // texture coordinates s, t
};

struct SurfaceMesh {
  std::vector<SurfaceVertex> vertices;  // grid samples first, then points on trim loops
  std::vector<uint32_t> triangles;      // 3 vertex indices per triangle, counter-clockwise seen from the normal
};

// Tessellates input into mesh. A trim that cannot be honoured leaves the
// surface untrimmed and says why in warning (empty otherwise).
void TessellateSurface(const TessellationInput &input, SurfaceMesh &mesh, std::string &warning);

}  // namespace nurbs

#endif
