// The spatial hash behind welding.
#include "kavrel/toolkit/mesh_weld_grid.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "kavrel/toolkit/mesh_internal.h"

namespace kavrel {
namespace mesh_detail {

namespace {

constexpr double kCellSide = 8.0;              // in thresholds
constexpr size_t kMinSlots = 1024;
constexpr int kMinSlotBits = 10;

}  // namespace

WeldGrid::WeldGrid(float threshold, size_t expected_values)
    : exact_(!(threshold > 0.0f) || !std::isfinite(threshold)), threshold_(threshold),
      inverse_side_(exact_ ? 0.0 : 1.0 / (kCellSide * static_cast<double>(threshold))) {
  reps_.reserve(expected_values);
  entries_.reserve(expected_values * 2);
  size_t capacity = kMinSlots;
  int bits = kMinSlotBits;
  for (; capacity < expected_values; ++bits) capacity *= 2;
  slots_.assign(capacity, Slot{{0, 0, 0}, -1});
  shift_ = 32 - bits;
}

// step[axis]: -1 or +1 towards a wall within the threshold, else 0.
void WeldGrid::CellOf(const Vec3 &value, Cell *cell, int step[3]) const {
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

uint32_t WeldGrid::HashOf(const Cell &cell) {
  const uint64_t h = MixBits((static_cast<uint64_t>(cell.c[0]) << 32 | cell.c[1]) ^
                             static_cast<uint64_t>(cell.c[2]) * 0x9e3779b97f4a7c15ULL);
  return static_cast<uint32_t>(h >> 32);
}

uint32_t WeldGrid::HomeHash(const Vec3 &value) const {
  if (!std::isfinite(value[0]) || !std::isfinite(value[1]) || !std::isfinite(value[2])) return 0;
  Cell cell;
  int step[3];
  CellOf(value, &cell, step);
  return HashOf(cell);
}

bool WeldGrid::Near(const Vec3 &a, const Vec3 &b) const {
  if (exact_) return (a[0] == b[0]) && (a[1] == b[1]) && (a[2] == b[2]);
  return std::fabs(a[0] - b[0]) <= threshold_ && std::fabs(a[1] - b[1]) <= threshold_ &&
         std::fabs(a[2] - b[2]) <= threshold_;
}

// The slot holding cell, else the free slot where it would go.
size_t WeldGrid::SlotOf(const Cell &cell) const {
  const size_t mask = slots_.size() - 1;
  size_t i = HashOf(cell) >> shift_;
  while (slots_[i].head >= 0 && !(slots_[i].cell == cell)) i = (i + 1) & mask;
  return i;
}

int32_t WeldGrid::MatchInCell(const Cell &cell, const Vec3 &value) const {
  for (int32_t e = slots_[SlotOf(cell)].head; e >= 0; e = entries_[e].next)
    if (Near(reps_[entries_[e].rep], value)) return entries_[e].rep;
  return -1;
}

int32_t WeldGrid::Find(const Vec3 &value) {
  if (!std::isfinite(value[0]) || !std::isfinite(value[1]) || !std::isfinite(value[2])) return AddLoose(value);
  Cell home;
  int step[3];
  CellOf(value, &home, step);
  int32_t rep = MatchInCell(home, value);
  if (rep >= 0) return rep;
  rep = AddLoose(value);
  for (int cells = 0; cells < 8; ++cells) {
    Cell cell = home;
    bool skip = false;
    for (int axis = 0; axis < 3 && !skip; ++axis) {
      if (!(cells & (1 << axis))) continue;
      skip = step[axis] == 0;
      cell.c[axis] += static_cast<uint32_t>(step[axis]);
    }
    if (!skip) Enter(cell, rep);
  }
  return rep;
}

int32_t WeldGrid::AddLoose(const Vec3 &value) {
  reps_.push_back(value);
  return static_cast<int32_t>(reps_.size() - 1);
}

void WeldGrid::Enter(const Cell &cell, int32_t rep) {
  if ((cells_ + 1) * 2 > slots_.size()) Grow();
  Slot &slot = slots_[SlotOf(cell)];
  if (slot.head < 0) ++cells_;
  entries_.push_back(Entry{rep, slot.head});
  slot = Slot{cell, static_cast<int32_t>(entries_.size() - 1)};
}

void WeldGrid::Grow() {
  std::vector<Slot> old(slots_.size() * 2, Slot{{0, 0, 0}, -1});
  old.swap(slots_);
  --shift_;
  for (const Slot &slot : old)
    if (slot.head >= 0) slots_[SlotOf(slot.cell)] = slot;
}

}  // namespace mesh_detail
}  // namespace kavrel
