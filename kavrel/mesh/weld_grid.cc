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

namespace {

// Equal as numbers (so -0 equals +0, and no NaN equals anything).
inline bool SameValue(const Vec3 &a, const Vec3 &b) { return a[0] == b[0] && a[1] == b[1] && a[2] == b[2]; }

// One axis of an exact weld's cell: the bit pattern, with -0 folded onto +0
// so that they weld.
inline uint32_t ExactCell(float v) {
  const float folded = v == 0.0f ? 0.0f : v;
  uint32_t bits;
  std::memcpy(&bits, &folded, sizeof bits);
  return bits;
}

// One axis of the cell a value lies in, taken modulo 2^32 (cells that far
// apart share a key, which costs a distance test but never a wrong weld),
// and the step towards a wall within the threshold. No branches on the
// value: its digits would decide them, and a search mostly waits on memory
// already. Floor by truncation and a step down: std::floor is a library
// call on the baseline instruction set.
inline uint32_t CellOnAxis(float v, double inverse_side, int8_t *step) {
  constexpr double kLimit = 4.0e18;
  const double scaled = std::min(std::max(v * inverse_side + kCellShift, -kLimit), kLimit);
  // (Truncated and floored values are whole numbers a double holds exactly.)
  const int64_t truncated = static_cast<int64_t>(scaled);
  const double truncated_value = static_cast<double>(truncated);
  const bool below = truncated_value > scaled;
  // Where in the cell, as a fraction of its side: within a threshold of a
  // wall below 1 / kCellSide or above 1 - 1 / kCellSide (exactly so, as
  // kCellSide is a power of two).
  const double fraction = scaled - (truncated_value - below);
  *step = static_cast<int8_t>((fraction >= 1.0 - 1.0 / kCellSide) - (fraction <= 1.0 / kCellSide));
  return static_cast<uint32_t>(truncated - below);
}

}  // namespace

// The three axes one after the other, so that their work overlaps.
inline void SpatialWelder::Locate(const Vec3 &value, Probe *located) const {
  Probe &probe = *located;
  probe = Probe{};
  probe.located = true;
  probe.finite = Finite(value);
  if (!probe.finite) return;
  if (exact_) {
    for (int axis = 0; axis < 3; ++axis) probe.home.c[axis] = ExactCell(value[axis]);
  } else {
    probe.home.c[0] = CellOnAxis(value[0], inverse_side_, &probe.step[0]);
    probe.home.c[1] = CellOnAxis(value[1], inverse_side_, &probe.step[1]);
    probe.home.c[2] = CellOnAxis(value[2], inverse_side_, &probe.step[2]);
  }
  probe.key = KeyOf(probe.home);
}

inline bool SpatialWelder::Near(const Vec3 &a, const Vec3 &b) const {
  if (exact_) return SameValue(a, b);
  return std::fabs(a[0] - b[0]) <= threshold_ && std::fabs(a[1] - b[1]) <= threshold_ &&
         std::fabs(a[2] - b[2]) <= threshold_;
}

inline uint32_t SpatialWelder::KeyOf(const Cell &cell) const {
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

int32_t SpatialWelder::Add(const Vec3 &value, const Probe &ahead) {
  // Runs of one value (the zero-filled tail of a pre-sized buffer, a fan's
  // centre, a flat face's normals) cost a comparison each.
  if (last_rep_ >= 0 && SameValue(value, last_value_)) return last_rep_;
  Probe here{};
  if (!ahead.located) Locate(value, &here);
  const Probe &probe = ahead.located ? ahead : here;
  const int32_t rep = Find(value, probe);
  last_value_ = value;
  last_rep_ = probe.finite ? rep : -1;  // infinities equal themselves but never weld
  return rep;
}

int32_t SpatialWelder::Find(const Vec3 &value, const Probe &probe) {
  if (probe.finite) {
    for (int32_t e = heads_[probe.key & mask_]; e >= 0; e = entries_[e].next)
      if (entries_[e].key == probe.key && Near(reps_[entries_[e].rep], value)) return entries_[e].rep;
  }
  const int32_t rep = static_cast<int32_t>(reps_.size());
  reps_.push_back(value);
  if (!probe.finite) return rep;
  // Home first, then each neighbour across the walls the value is near.
  Enter(probe.key, rep);
  for (int cells = 1; cells < 8; ++cells) {
    Cell cell = probe.home;
    bool skip = false;
    for (int axis = 0; axis < 3 && !skip; ++axis) {
      if (!(cells & (1 << axis))) continue;
      skip = probe.step[axis] == 0;
      cell.c[axis] += static_cast<uint32_t>(probe.step[axis]);
    }
    if (!skip) Enter(KeyOf(cell), rep);
  }
  return rep;
}

// What a search reads first, loaded a few searches ahead: the head, then
// (once the head is in) the chain's first entry, then its representative.
// Only hints: a chain that changes meanwhile is searched as it is then.
// (The prefetches stay in AddCorners: GCC takes a function that only
// prefetches for one without effects, and drops its calls.)
inline const int32_t *SpatialWelder::HeadOf(const Probe &probe) const { return &heads_[probe.key & mask_]; }

inline const SpatialWelder::Entry *SpatialWelder::ChainOf(const Probe &probe) const {
  const int32_t e = *HeadOf(probe);
  return e >= 0 ? &entries_[static_cast<size_t>(e)] : nullptr;
}

inline const Vec3 *SpatialWelder::RepOf(const Probe &probe) const {
  const Entry *entry = ChainOf(probe);
  return entry ? &reps_[static_cast<size_t>(entry->rep)] : nullptr;
}

void SpatialWelder::AddCorners(const std::vector<Vec3> &values, const std::vector<int32_t> &index,
                               std::vector<int32_t> &rep_of) {
  // Corner k is located (and its head loaded) at step k, its chain loaded
  // kStage steps later, its representative after another kStage, and it
  // is added after a third.
  constexpr size_t kStage = 8, kRing = 32;
  static_assert(kRing > 3 * kStage, "a probe lives until its corner is added");
  Probe ahead[kRing];
  const size_t corners = index.size();
  for (size_t step = 0; step < corners + 3 * kStage; ++step) {
    if (step < corners) {
      Probe &probe = ahead[step % kRing];
      // A value that has its representative is not searched for again, and
      // one equal to the corner before's mostly not at all: Add takes runs
      // of one value without a search, and locates what it has to.
      const int32_t i = index[step];
      const Vec3 &value = values[i];
      const bool repeats = step > 0 && SameValue(value, values[index[step - 1]]);
      if (rep_of[i] < 0 && !repeats) Locate(value, &probe);
      else probe = Probe{};
      __builtin_prefetch(HeadOf(probe));
    }
    if (step >= kStage && step - kStage < corners) __builtin_prefetch(ChainOf(ahead[(step - kStage) % kRing]));
    if (step >= 2 * kStage && step - 2 * kStage < corners) __builtin_prefetch(RepOf(ahead[(step - 2 * kStage) % kRing]));
    if (step < 3 * kStage) continue;
    const size_t corner = step - 3 * kStage;
    int32_t &rep = rep_of[index[corner]];
    if (rep < 0) rep = Add(values[index[corner]], ahead[corner % kRing]);
  }
}

}  // namespace mesh_detail
}  // namespace kavrel
