#include "geometry/nurbs/trimming.h"

#include <algorithm>

namespace nurbs {
namespace {

struct Segment {
  Vec2 a;
  Vec2 b;
};

// Half-open in x, so a vertical ray through a vertex shared by two segments
// counts it once when the loop passes and twice or never when it turns back.
bool Crosses(const Segment &s, double x) { return (s.a.x <= x && x < s.b.x) || (s.b.x <= x && x < s.a.x); }

double YAt(const Segment &s, double x) { return s.a.y + (s.b.y - s.a.y) * ((x - s.a.x) / (s.b.x - s.a.x)); }

double SignedArea(const TrimLoop &loop) {
  double twice = 0.0;
  const size_t n = loop.points.size();
  for (size_t k = 0; k < n; ++k) {
    const Vec2 &p = loop.points[k];
    const Vec2 &q = loop.points[(k + 1) % n];
    twice += p.x * q.y - q.x * p.y;
  }
  return 0.5 * twice;
}

// The part of s inside [x0, x1] x [y0, y1] (Liang-Barsky); false if none.
bool ClipToRect(const Segment &s, double x0, double x1, double y0, double y1, Segment &part) {
  const double dx = s.b.x - s.a.x;
  const double dy = s.b.y - s.a.y;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {s.a.x - x0, x1 - s.a.x, s.a.y - y0, y1 - s.a.y};
  double t0 = 0.0, t1 = 1.0;
  for (int k = 0; k < 4; ++k) {
    if (p[k] == 0.0) {
      if (q[k] < 0.0) return false;
      continue;
    }
    const double r = q[k] / p[k];
    if (p[k] < 0.0) t0 = std::max(t0, r);
    else t1 = std::min(t1, r);
  }
  if (t0 > t1) return false;
  part.a = {s.a.x + t0 * dx, s.a.y + t0 * dy};
  part.b = {s.a.x + t1 * dx, s.a.y + t1 * dy};
  if (part.a.x > part.b.x) std::swap(part.a, part.b);
  return true;
}

// Indices of the grid intervals [lines[k], lines[k + 1]] that [lo, hi] touches.
void IntervalRange(const std::vector<double> &lines, double lo, double hi, int &first, int &last) {
  first = std::max(0, static_cast<int>(std::lower_bound(lines.begin(), lines.end(), lo) - lines.begin()) - 1);
  last = std::min(static_cast<int>(lines.size()) - 2,
                  static_cast<int>(std::upper_bound(lines.begin(), lines.end(), hi) - lines.begin()) - 1);
}

// One line of the loops across a slab of a cut cell.
struct SlabLine {
  double ya;  // height at the slab's left edge, clamped to the cell
  double yb;  // height at its right edge, clamped to the cell
  double ym;  // height in its middle, the sort key
};

class GridTrimmer {
 public:
  GridTrimmer(const std::vector<double> &us, const std::vector<double> &vs, TrimResult &result)
      : us_(us), vs_(vs), result_(result), columns_(static_cast<int>(us.size()) - 1),
        rows_(static_cast<int>(vs.size()) - 1) {
    eps_ = 1e-9 * std::max(us.back() - us.front(), vs.back() - vs.front());
  }

  bool Run(const std::vector<TrimLoop> &loops) {
    CollectSegments(loops);
    BuildColumns();
    result_.whole_cells.reserve(static_cast<size_t>(columns_) * rows_);
    for (int c = 0; c < columns_ && work_ <= kTrimWorkBudget; ++c) TrimColumn(c);
    return work_ <= kTrimWorkBudget;
  }

 private:
  void CollectSegments(const std::vector<TrimLoop> &loops) {
    bool any_counter_clockwise = false, any_clockwise = false;
    for (const TrimLoop &loop : loops) {
      const double area = SignedArea(loop);
      any_counter_clockwise |= area > 0.0;
      any_clockwise |= area < 0.0;
      const size_t n = loop.points.size();
      for (size_t k = 0; k < n; ++k) AddSegment(loop.points[k], loop.points[(k + 1) % n]);
    }
    if (any_clockwise && !any_counter_clockwise) {
      const Vec2 corners[4] = {{us_.front(), vs_.front()}, {us_.back(), vs_.front()},
                               {us_.back(), vs_.back()}, {us_.front(), vs_.back()}};
      for (int k = 0; k < 4; ++k) AddSegment(corners[k], corners[(k + 1) % 4]);
    }
  }

  void AddSegment(const Vec2 &a, const Vec2 &b) {
    if (a.x != b.x || a.y != b.y) segments_.push_back({a, b});
  }

  // Segment lists per grid column.
  void BuildColumns() {
    auto range = [&](int s, int &first, int &last) {
      const Segment &g = segments_[s];
      IntervalRange(us_, std::min(g.a.x, g.b.x) - eps_, std::max(g.a.x, g.b.x) + eps_, first, last);
    };
    Bucket(columns_, static_cast<int>(segments_.size()), nullptr, range, column_start_, column_items_);
  }

  // Sorts items (segment indices; 0..count-1 when items is null) into bins:
  // bin b's items end up at list[start[b]] .. list[start[b + 1] - 1].
  template <typename RangeOf>
  void Bucket(int bins, int count, const int *items, RangeOf range_of, std::vector<int> &start,
              std::vector<int> &list) {
    start.assign(bins + 1, 0);
    for (int pass = 0; pass < 2; ++pass) {
      for (int k = 0; k < count; ++k) {
        const int item = items ? items[k] : k;
        int first, last;
        range_of(item, first, last);
        for (int b = first; b <= last; ++b) {
          if (pass == 0) ++start[b + 1];
          else list[fill_[b]++] = item;
        }
        work_ += last - first + 2;
      }
      if (pass == 0) {
        if (work_ > kTrimWorkBudget) return;  // before the lists take their memory
        for (int b = 0; b < bins; ++b) start[b + 1] += start[b];
        list.resize(start[bins]);
        fill_.assign(start.begin(), start.end() - 1);
      }
    }
  }

  // Rows of column c that segment s touches, from its part inside the column.
  void RowsOfSegment(int c, const Segment &s, int &first, int &last) const {
    Segment part;
    const double huge = 1e300;
    if (!ClipToRect(s, us_[c] - eps_, us_[c + 1] + eps_, -huge, huge, part)) {
      first = 0;
      last = -1;
      return;
    }
    IntervalRange(vs_, std::min(part.a.y, part.b.y) - eps_, std::max(part.a.y, part.b.y) + eps_, first, last);
  }

  void TrimColumn(int c) {
    const int *items = column_items_.data() + column_start_[c];
    const int count = column_start_[c + 1] - column_start_[c];
    if (count == 0) return;  // no loop reaches this column: it lies outside all of them
    const double xc = 0.5 * (us_[c] + us_[c + 1]);
    center_ys_.clear();
    for (int k = 0; k < count; ++k) {
      if (Crosses(segments_[items[k]], xc)) center_ys_.push_back(YAt(segments_[items[k]], xc));
    }
    std::sort(center_ys_.begin(), center_ys_.end());
    BuildRows(c, items, count);
    work_ += 2 * static_cast<int64_t>(count) + rows_;
    for (int r = 0; r < rows_ && work_ <= kTrimWorkBudget; ++r) {
      const int cell_count = row_start_[r + 1] - row_start_[r];
      if (cell_count > 0) {
        TrimCell(c, r, row_items_.data() + row_start_[r], cell_count, items, count);
        continue;
      }
      const double yc = 0.5 * (vs_[r] + vs_[r + 1]);
      const auto below = std::lower_bound(center_ys_.begin(), center_ys_.end(), yc) - center_ys_.begin();
      if (below % 2 == 1) result_.whole_cells.push_back(static_cast<uint32_t>(r * columns_ + c));
    }
  }

  // Segment lists per cell of column c.
  void BuildRows(int c, const int *items, int count) {
    auto range = [&](int s, int &first, int &last) { RowsOfSegment(c, segments_[s], first, last); };
    Bucket(rows_, count, items, range, row_start_, row_items_);
  }

  // Cuts cell (c, r) into vertical slabs at every x where a loop segment
  // starts, ends or crosses another; inside a slab the segments do not
  // cross, so sorted by height they bound trapezoids whose parity flips at
  // each segment.
  void TrimCell(int c, int r, const int *cell_items, int cell_count, const int *column_items, int column_count) {
    const double x0 = us_[c], x1 = us_[c + 1], y0 = vs_[r], y1 = vs_[r + 1];
    breaks_.assign({x0, x1});
    pieces_.clear();
    for (int k = 0; k < cell_count; ++k) {
      Segment part;
      if (!ClipToRect(segments_[cell_items[k]], x0, x1, y0, y1, part)) continue;
      pieces_.push_back(part);
      breaks_.push_back(part.a.x);
      breaks_.push_back(part.b.x);
    }
    const double tol_x = 1e-9 * (x1 - x0);
    AddCrossings(tol_x);
    std::sort(breaks_.begin(), breaks_.end());
    double xa = x0;
    for (double x : breaks_) {
      if (work_ > kTrimWorkBudget) return;
      if (x <= xa + tol_x) continue;
      const double xb = x >= x1 - tol_x ? x1 : x;
      TrimSlab(c, r, xa, xb, column_items, column_count);
      xa = xb;
    }
  }

  // Slab edges where two pieces cross, found by sweeping the pieces in
  // order of their left ends so that only pieces overlapping in x meet.
  void AddCrossings(double tol_x) {
    std::sort(pieces_.begin(), pieces_.end(), [](const Segment &p, const Segment &q) { return p.a.x < q.a.x; });
    const size_t n = pieces_.size();
    for (size_t i = 0; i < n && work_ <= kTrimWorkBudget; ++i) {
      const Segment &p = pieces_[i];
      for (size_t j = i + 1; j < n && pieces_[j].a.x < p.b.x - tol_x; ++j, ++work_) {
        const Segment &q = pieces_[j];
        const double l = q.a.x, r = std::min(p.b.x, q.b.x);
        if (r - l <= tol_x || q.b.x - q.a.x <= tol_x) continue;
        const double fl = YAt(p, l) - YAt(q, l), fr = YAt(p, r) - YAt(q, r);
        if (fl * fr < 0.0) breaks_.push_back(l + (r - l) * fl / (fl - fr));
      }
    }
  }

  void TrimSlab(int c, int r, double xa, double xb, const int *items, int count) {
    const double y0 = vs_[r], y1 = vs_[r + 1];
    const double xm = 0.5 * (xa + xb);
    auto clamp = [&](double y) { return std::clamp(y, y0, y1); };
    bool inside = false;
    lines_.clear();
    for (int k = 0; k < count; ++k) {
      const Segment &s = segments_[items[k]];
      if (!Crosses(s, xm)) continue;
      const double ym = YAt(s, xm);
      if (ym < y0) inside = !inside;
      else if (ym <= y1) lines_.push_back({clamp(YAt(s, xa)), clamp(YAt(s, xb)), ym});
    }
    work_ += count + static_cast<int64_t>(lines_.size()) * 4;
    std::sort(lines_.begin(), lines_.end(), [](const SlabLine &a, const SlabLine &b) { return a.ym < b.ym; });
    double la = y0, lb = y0;
    for (const SlabLine &line : lines_) {
      const double ua = std::max(line.ya, la), ub = std::max(line.yb, lb);
      if (inside) EmitTrapezoid(c, r, xa, xb, la, lb, ua, ub);
      inside = !inside;
      la = ua;
      lb = ub;
    }
    if (inside) EmitTrapezoid(c, r, xa, xb, la, lb, y1, y1);
  }

  // The trapezoid between heights la..ua at xa and lb..ub at xb, as up to
  // two counter-clockwise triangles.
  void EmitTrapezoid(int c, int r, double xa, double xb, double la, double lb, double ua, double ub) {
    const double tol_y = 1e-9 * (vs_[r + 1] - vs_[r]);
    const ParamCorner p0 = Corner(c, r, xa, la), p1 = Corner(c, r, xb, lb);
    const ParamCorner p2 = Corner(c, r, xb, ub), p3 = Corner(c, r, xa, ua);
    std::vector<ParamCorner> &out = result_.cut_corners;
    if (ub - lb > tol_y) out.insert(out.end(), {p0, p1, p2});
    if (ua - la > tol_y) out.insert(out.end(), {p0, p2, p3});
    work_ += 8;
  }

  // A corner of cell (c, r) shares the grid's sample there.
  ParamCorner Corner(int c, int r, double x, double y) const {
    const int i = x == us_[c] ? c : x == us_[c + 1] ? c + 1 : -1;
    const int j = y == vs_[r] ? r : y == vs_[r + 1] ? r + 1 : -1;
    const int32_t node = i >= 0 && j >= 0 ? j * (columns_ + 1) + i : -1;
    return {{x, y}, node};
  }

  const std::vector<double> &us_;
  const std::vector<double> &vs_;
  TrimResult &result_;
  const int columns_;
  const int rows_;
  double eps_ = 0.0;
  int64_t work_ = 0;
  std::vector<Segment> segments_;
  std::vector<int> column_start_, column_items_;  // segments per column
  std::vector<int> row_start_, row_items_;        // segments per cell of the current column
  std::vector<int> fill_;                         // next free slot per bin while bucketing
  std::vector<double> center_ys_;                 // heights of the segments at the current column's middle
  std::vector<double> breaks_;                    // slab edges of the current cell
  std::vector<Segment> pieces_;                   // segments clipped to the current cell
  std::vector<SlabLine> lines_;                   // segments across the current slab
};

}  // namespace

bool TrimGrid(const std::vector<double> &us, const std::vector<double> &vs, const std::vector<TrimLoop> &loops,
              TrimResult &result) {
  result.whole_cells.clear();
  result.cut_corners.clear();
  GridTrimmer trimmer(us, vs, result);
  if (trimmer.Run(loops)) return true;
  result.whole_cells.clear();
  result.cut_corners.clear();
  return false;
}

}  // namespace nurbs
