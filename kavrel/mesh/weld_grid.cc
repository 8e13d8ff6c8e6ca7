// The spatial hashing behind welding: chains of the representatives
// entered in each cell, reached through a table of heads.
#include "kavrel/mesh/weld_grid.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "kavrel/memory/large_blocks.h"
#include "kavrel/mesh/mesh_internal.h"

namespace kavrel {
namespace mesh_detail {

namespace {

constexpr double kCellSide = 8.0;  // in thresholds
// The grid is shifted by this fraction of a cell: modelled data sits on
// round numbers, which would otherwise lie on cell walls and be entered in
// two, four or eight cells each.
constexpr double kCellShift = 0.3819660112501051;

bool Finite(const Vec3 &v) { return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]); }

uint32_t PowerOfTwoAtLeast(size_t n) {
  uint32_t p = 64;
  while (p < n && p < (1u << 30)) p *= 2;
  return p;
}

}  // namespace

SpatialWelder::SpatialWelder(float threshold, size_t expected_values)
    : exact_(!(threshold > 0.0f) || !std::isfinite(threshold)), threshold_(threshold),
      inverse_side_(exact_ ? 0.0 : 1.0 / (kCellSide * static_cast<double>(threshold))) {
  // Corners of a closed triangle mesh share each position about six times
  // over, and a representative is entered in one cell or a few: the table
  // starts with a head for every eighth value and grows (at most once for
  // such meshes) where fewer weld. Its heads are all written here, so a
  // larger start would only add memory: three streams are welded at once.
  heads_.assign(PowerOfTwoAtLeast(expected_values / 8), -1);
  mask_ = static_cast<uint32_t>(heads_.size() - 1);
  // Entries and representatives get room for the worst case this side of
  // a surface of separate triangles; most values weld, and the pages of
  // the room not used stay untouched.
  UntouchedBlocks untouched;
  entries_.reserve(expected_values / 2);
  reps_.reserve(expected_values / 4);
}

// Cell coordinates are taken modulo 2^32: cells that far apart share a key,
// which costs a distance test but never a wrong weld. step[axis] is -1 or
// +1 towards a wall within the threshold, else 0. False for a value that
// is not finite.
bool SpatialWelder::CellOf(const Vec3 &value, Cell *cell, int step[3]) const {
  if (!Finite(value)) return false;
  for (int axis = 0; axis < 3; ++axis) {
    step[axis] = 0;
    if (exact_) {
      // Bit patterns, with -0 folded onto +0 so that they weld.
      const float v = value[axis] == 0.0f ? 0.0f : value[axis];
      std::memcpy(&cell->c[axis], &v, sizeof v);
      continue;
    }
    // Floor by truncation and a step down: std::floor is a library call on
    // the baseline instruction set, and this runs for every value.
    constexpr double kLimit = 4.0e18;
    const double scaled = std::clamp(value[axis] * inverse_side_ + kCellShift, -kLimit, kLimit);
    int64_t whole = static_cast<int64_t>(scaled);
    if (static_cast<double>(whole) > scaled) --whole;
    cell->c[axis] = static_cast<uint32_t>(whole);
    const double floor = static_cast<double>(whole);
    const double offset = (scaled - floor) * kCellSide;  // in thresholds from the lower wall
    if (offset <= 1.0) step[axis] = -1;
    else if (offset >= kCellSide - 1.0) step[axis] = 1;
  }
  return true;
}

bool SpatialWelder::Near(const Vec3 &a, const Vec3 &b) const {
  if (exact_) return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
  return std::fabs(a[0] - b[0]) <= threshold_ && std::fabs(a[1] - b[1]) <= threshold_ &&
         std::fabs(a[2] - b[2]) <= threshold_;
}

uint32_t SpatialWelder::KeyOf(const Cell &cell) const {
  if (exact_) {
    // Bit patterns of round numbers end in zeros: mix them all in.
    const uint64_t key = (static_cast<uint64_t>(cell.c[0]) << 32 | cell.c[1]) ^
                         static_cast<uint64_t>(cell.c[2]) * 0x9e3779b97f4a7c15ULL;
    return static_cast<uint32_t>(MixBits(key));
  }
  // Runs of 16 neighbours along x have neighbouring heads; the runs are
  // hashed with every bit mixed in. (A key linear in the coordinates
  // aliases on regular grids whose spacing is many cells: the vertices of
  // a 700 x 700 grid welded at a millionth of its size shared a few
  // thousand heads.)
  const uint64_t run = (static_cast<uint64_t>(cell.c[0] >> 4) << 32 | cell.c[1]) ^
                       static_cast<uint64_t>(cell.c[2]) * 0x9e3779b97f4a7c15ULL;
  return static_cast<uint32_t>(MixBits(run) << 4) | (cell.c[0] & 15u);
}

void SpatialWelder::Enter(uint32_t key, int32_t rep) {
  if (entries_.size() >= heads_.size() && heads_.size() < (1u << 30)) Grow();
  int32_t &head = heads_[key & mask_];
  entries_.push_back(Entry{rep, head, key});
  head = static_cast<int32_t>(entries_.size() - 1);
}

// Twice the heads, the chains linked again oldest entry first so that each
// stays newest first.
void SpatialWelder::Grow() {
  heads_.assign(heads_.size() * 2, -1);
  mask_ = static_cast<uint32_t>(heads_.size() - 1);
  for (size_t e = 0; e < entries_.size(); ++e) {
    int32_t &head = heads_[entries_[e].key & mask_];
    entries_[e].next = head;
    head = static_cast<int32_t>(e);
  }
}

int32_t SpatialWelder::Add(const Vec3 &value) {
  // Runs of one value (the zero-filled tail of a pre-sized buffer, a fan's
  // centre) cost a comparison each.
  if (last_rep_ >= 0 && value[0] == last_value_[0] && value[1] == last_value_[1] && value[2] == last_value_[2])
    return last_rep_;
  bool finite = false;
  const int32_t rep = Find(value, &finite);
  last_value_ = value;
  last_rep_ = finite ? rep : -1;  // infinities equal themselves but never weld
  return rep;
}

int32_t SpatialWelder::Find(const Vec3 &value, bool *finite) {
  Cell home;
  int step[3];
  *finite = CellOf(value, &home, step);
  if (*finite) {
    const uint32_t key = KeyOf(home);
    for (int32_t e = heads_[key & mask_]; e >= 0; e = entries_[e].next)
      if (entries_[e].key == key && Near(reps_[entries_[e].rep], value)) return entries_[e].rep;
  }
  const int32_t rep = static_cast<int32_t>(reps_.size());
  reps_.push_back(value);
  if (!*finite) return rep;
  // Home first, then each neighbour across the walls the value is near.
  for (int cells = 0; cells < 8; ++cells) {
    Cell cell = home;
    bool skip = false;
    for (int axis = 0; axis < 3 && !skip; ++axis) {
      if (!(cells & (1 << axis))) continue;
      skip = step[axis] == 0;
      cell.c[axis] += static_cast<uint32_t>(step[axis]);
    }
    if (!skip) Enter(KeyOf(cell), rep);
  }
  return rep;
}

}  // namespace mesh_detail
}  // namespace kavrel
