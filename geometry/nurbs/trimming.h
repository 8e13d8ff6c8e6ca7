// Trimming in the parameter plane: which cells of the sampling grid a set of
// closed trim loops keeps, and the triangles of the cells a loop cuts.
//
// The kept region is the even-odd region of all loops together: a point is
// kept when a ray from it crosses the loops an odd number of times. So an
// outer boundary with holes, nested islands and overlapping loops all work
// without the loops being oriented. One exception follows the intent of
// files that only punch holes: when every loop runs clockwise (all are
// holes), the domain's boundary counts as one more, outer loop.
#ifndef GEOMETRY_NURBS_TRIMMING_H
#define GEOMETRY_NURBS_TRIMMING_H

#include <cstdint>
#include <vector>

#include "geometry/nurbs/vector.h"

namespace nurbs {

// A closed polyline in the (u, v) plane; the last point joins the first.
struct TrimLoop {
  std::vector<Vec2> points;
};

// A triangle corner in the parameter plane.
struct ParamCorner {
  Vec2 uv;
  int32_t node;  // grid sample (j * us.size() + i) the corner lies on, -1 for a point off the grid
};

// What trimming keeps of a grid with grid lines us (u) and vs (v).
struct TrimResult {
  std::vector<uint32_t> whole_cells;     // cells kept entirely, cell (i, j) as j * (us.size() - 1) + i
  std::vector<ParamCorner> cut_corners;  // 3 per triangle of the cut cells, counter-clockwise in (u, v)
};

// Work units one surface's trimming may spend (about one per segment test);
// loops too dense for the grid stop there instead of hanging.
constexpr int64_t kTrimWorkBudget = int64_t(1) << 27;

// Fills result for the loops over the grid. False, with result cleared, when
// the work budget ran out.
bool TrimGrid(const std::vector<double> &us, const std::vector<double> &vs, const std::vector<TrimLoop> &loops,
              TrimResult &result);

}  // namespace nurbs

#endif
