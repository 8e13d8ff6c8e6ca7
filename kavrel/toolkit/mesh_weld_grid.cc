// The spatial hashing behind welding.
//
// Space is cut into cubic cells eight thresholds wide. A value within the
// threshold of a representative lies in the representative's own cell or,
// on each axis where the representative is within the threshold of a cell
// wall, in the neighbour beyond that wall; so a new representative is
// entered in all of those cells (1 + 0.25 per axis on average) and a value
// only ever searches its own cell.
//
// Values are handled in buckets by the top bits of their cell's hash, each
// bucket with a small table of its own cells that stays in the processor's
// cache. An entry for a cell of a later bucket is kept aside until that
// bucket comes, in room counted out for it before the weld (so that a
// bucket reads its entries in one sweep); one for a bucket already done is
// not needed, since every value living there was handled already (and any
// representative near one of them has been entered for the cell being
// handled now). Millions of values are thus welded without a jump through
// a table the size of the mesh for each value.
#include "kavrel/toolkit/mesh_weld_grid.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "kavrel/toolkit/mesh_internal.h"

namespace kavrel {
namespace mesh_detail {

namespace {

constexpr double kCellSide = 8.0;              // in thresholds
constexpr size_t kValuesPerBucket = 16;
constexpr int kMaxBucketBits = 16;

// Cell coordinates modulo 2^32: cells that far apart share a key, which
// costs a distance test but never a wrong weld.
struct Cell {
  uint32_t c[3];
  bool operator==(const Cell &o) const { return c[0] == o.c[0] && c[1] == o.c[1] && c[2] == o.c[2]; }
};

bool Finite(const Vec3 &v) { return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]); }

class CellGeometry {
 public:
  explicit CellGeometry(float threshold)
      : exact_(!(threshold > 0.0f) || !std::isfinite(threshold)), threshold_(threshold),
        inverse_side_(exact_ ? 0.0 : 1.0 / (kCellSide * static_cast<double>(threshold))) {}

  // step[axis]: -1 or +1 towards a wall within the threshold, else 0.
  void CellOf(const Vec3 &value, Cell *cell, int step[3]) const {
    for (int axis = 0; axis < 3; ++axis) {
      step[axis] = 0;
      if (exact_) {
        // Bit patterns, with -0 folded onto +0 so that they weld.
        const float v = value[axis] == 0.0f ? 0.0f : value[axis];
        std::memcpy(&cell->c[axis], &v, sizeof v);
        continue;
      }
      const double scaled = value[axis] * inverse_side_;
      const double floor = std::floor(scaled);
      constexpr double kLimit = 4.0e18;
      cell->c[axis] = static_cast<uint32_t>(static_cast<int64_t>(std::clamp(floor, -kLimit, kLimit)));
      const double offset = (scaled - floor) * kCellSide;  // in thresholds from the lower wall
      if (offset <= 1.0) step[axis] = -1;
      else if (offset >= kCellSide - 1.0) step[axis] = 1;
    }
  }

  static uint32_t HashOf(const Cell &cell) {
    const uint64_t h = MixBits((static_cast<uint64_t>(cell.c[0]) << 32 | cell.c[1]) ^
                               static_cast<uint64_t>(cell.c[2]) * 0x9e3779b97f4a7c15ULL);
    return static_cast<uint32_t>(h >> 32);
  }

  bool Near(const Vec3 &a, const Vec3 &b) const {
    if (exact_) return (a[0] == b[0]) && (a[1] == b[1]) && (a[2] == b[2]);
    return std::fabs(a[0] - b[0]) <= threshold_ && std::fabs(a[1] - b[1]) <= threshold_ &&
           std::fabs(a[2] - b[2]) <= threshold_;
  }

 private:
  const bool exact_;
  const float threshold_;
  const double inverse_side_;
};

// The cells of one bucket: open addressing, each cell with a chain of
// representatives. Reset clears only the slots the last bucket used.
class BucketTable {
 public:
  void Reset() {
    for (uint32_t i : touched_) slots_[i].head = -1;
    touched_.clear();
    entries_.clear();
    if (slots_.empty()) Resize(64);
  }

  int32_t Match(const Cell &cell, uint32_t hash, const Vec3 &value, const CellGeometry &geometry,
                const std::vector<Vec3> &reps) const {
    for (int32_t e = slots_[SlotOf(cell, hash)].head; e >= 0; e = entries_[e].next)
      if (geometry.Near(reps[entries_[e].rep], value)) return entries_[e].rep;
    return -1;
  }

  void Push(const Cell &cell, uint32_t hash, int32_t rep) {
    if ((touched_.size() + 1) * 2 > slots_.size()) Resize(slots_.size() * 2);
    const size_t i = SlotOf(cell, hash);
    Slot &slot = slots_[i];
    if (slot.head < 0) touched_.push_back(static_cast<uint32_t>(i));
    entries_.push_back(Entry{rep, slot.head});
    slot = Slot{cell, hash, static_cast<int32_t>(entries_.size() - 1)};
  }

 private:
  struct Slot {
    Cell cell;
    uint32_t hash;
    int32_t head;                               // newest entry of the cell, -1 for a free slot
  };
  struct Entry {
    int32_t rep;
    int32_t next;                               // next older entry of the same cell
  };

  size_t SlotOf(const Cell &cell, uint32_t hash) const {
    const size_t mask = slots_.size() - 1;
    size_t i = hash & mask;  // the bucket shares the top bits; the low ones spread it
    while (slots_[i].head >= 0 && !(slots_[i].cell == cell)) i = (i + 1) & mask;
    return i;
  }

  void Resize(size_t capacity) {
    std::vector<Slot> old;
    old.swap(slots_);
    slots_.assign(capacity, Slot{{{0, 0, 0}}, 0, -1});
    std::vector<uint32_t> used;
    used.swap(touched_);
    for (uint32_t i : used) {
      const size_t j = SlotOf(old[i].cell, old[i].hash);
      slots_[j] = old[i];
      touched_.push_back(static_cast<uint32_t>(j));
    }
  }

  std::vector<Slot> slots_;
  std::vector<uint32_t> touched_;
  std::vector<Entry> entries_;
};

// A representative's entry kept for the bucket of a later cell.
struct Deferred {
  Cell cell;
  int32_t rep;
};

// Calls visit(cell) for the cells a representative at home with these
// wall steps is entered in: home first, then its neighbours.
template <typename Visit>
void ForNearCells(const Cell &home, const int step[3], Visit visit) {
  for (int cells = 0; cells < 8; ++cells) {
    Cell cell = home;
    bool skip = false;
    for (int axis = 0; axis < 3 && !skip; ++axis) {
      if (!(cells & (1 << axis))) continue;
      skip = step[axis] == 0;
      cell.c[axis] += static_cast<uint32_t>(step[axis]);
    }
    if (!skip) visit(cell);
  }
}

struct Pending {
  Vec3 value;
  int32_t id;
};

class Welder {
 public:
  Welder(const std::vector<Vec3> &values, const std::vector<uint8_t> &used, float threshold)
      : values_(values), used_(used), geometry_(threshold) {}

  WeldResult Run() {
    result_.rep_of.assign(values_.size(), -1);
    result_.reps.reserve(values_.size());
    Bucket();
    for (uint32_t b = 0; b + 1 < start_.size(); ++b) WeldBucket(b);
    return std::move(result_);
  }

 private:
  // Counting sort of the used values by bucket, and room for the entries
  // that may be kept for each bucket; values that are not finite become
  // representatives of their own at once.
  void Bucket() {
    size_t count = 0;
    for (size_t v = 0; v < values_.size(); ++v) count += used_[v];
    int bits = 1;
    while (bits < kMaxBucketBits && (size_t(1) << bits) * kValuesPerBucket < count) ++bits;
    shift_ = 32 - bits;
    start_.assign((size_t(1) << bits) + 1, 0);
    std::vector<uint32_t> kept_room(start_.size(), 0);
    // Scratch arrays are left uninitialised: every entry read was written
    // first, and a weld of millions of values need not pay a zeroing pass.
    std::unique_ptr<uint32_t[]> bucket(new uint32_t[values_.size()]);
    for (size_t v = 0; v < values_.size(); ++v) {
      if (!used_[v]) continue;
      if (!Finite(values_[v])) {
        result_.rep_of[v] = NewRep(values_[v]);
        continue;
      }
      Cell home;
      int step[3];
      geometry_.CellOf(values_[v], &home, step);
      const uint32_t b = BucketOf(home);
      bucket[v] = b;
      ++start_[b + 1];
      ForNearCells(home, step, [&](const Cell &cell) {
        const uint32_t to = BucketOf(cell);
        if (to > b) ++kept_room[to + 1];
      });
    }
    for (size_t b = 1; b < start_.size(); ++b) {
      start_[b] += start_[b - 1];
      kept_room[b] += kept_room[b - 1];
    }
    pending_.reset(new Pending[start_.back()]);
    std::vector<uint32_t> fill(start_.begin(), start_.end() - 1);
    for (size_t v = 0; v < values_.size(); ++v)
      if (used_[v] && result_.rep_of[v] < 0) pending_[fill[bucket[v]]++] = Pending{values_[v], static_cast<int32_t>(v)};
    kept_.reset(new Deferred[kept_room.back()]);
    kept_start_.assign(kept_room.begin(), kept_room.end() - 1);
    kept_end_ = kept_start_;
  }

  uint32_t BucketOf(const Cell &cell) const { return CellGeometry::HashOf(cell) >> shift_; }

  int32_t NewRep(const Vec3 &value) {
    result_.reps.push_back(value);
    return static_cast<int32_t>(result_.reps.size() - 1);
  }

  void WeldBucket(uint32_t b) {
    table_.Reset();
    for (uint32_t k = kept_start_[b]; k < kept_end_[b]; ++k)
      table_.Push(kept_[k].cell, CellGeometry::HashOf(kept_[k].cell), kept_[k].rep);
    for (uint32_t k = start_[b]; k < start_[b + 1]; ++k) {
      const Pending &p = pending_[k];
      Cell home;
      int step[3];
      geometry_.CellOf(p.value, &home, step);
      int32_t rep = table_.Match(home, CellGeometry::HashOf(home), p.value, geometry_, result_.reps);
      if (rep < 0) {
        rep = NewRep(p.value);
        ForNearCells(home, step, [&](const Cell &cell) {
          const uint32_t hash = CellGeometry::HashOf(cell), to = hash >> shift_;
          if (to == b) table_.Push(cell, hash, rep);
          else if (to > b) kept_[kept_end_[to]++] = Deferred{cell, rep};
        });
      }
      result_.rep_of[p.id] = rep;
    }
  }

  const std::vector<Vec3> &values_;
  const std::vector<uint8_t> &used_;
  const CellGeometry geometry_;
  WeldResult result_;
  int shift_ = 31;
  std::vector<uint32_t> start_;                 // first pending value of each bucket, plus the end
  std::unique_ptr<Pending[]> pending_;          // used finite values, by bucket
  std::unique_ptr<Deferred[]> kept_;            // entries kept for later buckets, bucket by bucket
  std::vector<uint32_t> kept_start_, kept_end_; // each bucket's room in kept_ and how far it is filled
  BucketTable table_;
};

}  // namespace

WeldResult WeldValues(const std::vector<Vec3> &values, const std::vector<uint8_t> &used, float threshold) {
  return Welder(values, used, threshold).Run();
}

}  // namespace mesh_detail
}  // namespace kavrel
