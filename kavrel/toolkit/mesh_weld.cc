// Welding ("combine"): values of one stream that lie within the threshold
// of each other become one value, found by spatial hashing.
#include <algorithm>
#include <cstring>

#include "kavrel/toolkit/mesh_internal.h"

namespace kavrel {

namespace {

using mesh_detail::MixBits;

// Cells of a uniform grid whose side is twice the threshold, hashed into a
// flat open-addressing table. Each cell keeps a chain of representatives
// (values kept after welding). A value within the threshold of a
// representative lies in its own cell or, on each axis, in the one
// neighbour on the side of the nearer cell wall: at most eight cells.
class WeldGrid {
 public:
  WeldGrid(float threshold, size_t expected_values)
      : exact_(!(threshold > 0.0f) || !std::isfinite(threshold)), threshold_(threshold),
        inverse_side_(exact_ ? 0.0 : 1.0 / (2.0 * static_cast<double>(threshold))) {
    reps_.reserve(expected_values);
    chain_.reserve(expected_values);
    size_t capacity = 1024;
    while (capacity < expected_values / 2) capacity *= 2;
    slots_.assign(capacity, Slot{0, -1});
  }

  // The representative that value welds to, made from value when none is near.
  int32_t Find(const Vec3 &value) {
    if (!std::isfinite(value[0]) || !std::isfinite(value[1]) || !std::isfinite(value[2])) return AddLoose(value);
    Cell home;
    double offset[3];
    CellOf(value, &home, offset);
    for (int probe = 0; probe < (exact_ ? 1 : 8); ++probe) {
      Cell cell = home;
      for (int axis = 0; axis < 3; ++axis)
        if (probe & (1 << axis)) cell.c[axis] += offset[axis] < 0.5 ? -1 : 1;
      int32_t rep = MatchInCell(cell, value);
      if (rep >= 0) return rep;
    }
    return Add(home, value);
  }

  std::vector<Vec3> &representatives() { return reps_; }

 private:
  struct Cell {
    int64_t c[3];
    bool operator==(const Cell &o) const { return c[0] == o.c[0] && c[1] == o.c[1] && c[2] == o.c[2]; }
  };
  struct Slot {
    uint32_t hash;
    int32_t head;                               // newest representative of the cell, -1 for a free slot
  };

  // Far-out coordinates are clamped: cells then merge, which costs probes
  // but never a wrong weld, since every match is tested by distance.
  static int64_t ClampCell(double x) {
    constexpr double kLimit = 4.0e18;
    return static_cast<int64_t>(std::clamp(x, -kLimit, kLimit));
  }

  void CellOf(const Vec3 &value, Cell *cell, double offset[3]) const {
    for (int axis = 0; axis < 3; ++axis) {
      if (exact_) {
        // Bit patterns, with -0 folded onto +0 so that they weld.
        float v = value[axis] == 0.0f ? 0.0f : value[axis];
        uint32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        cell->c[axis] = bits;
        offset[axis] = 0.5;
        continue;
      }
      double scaled = value[axis] * inverse_side_;
      double floor = std::floor(scaled);
      cell->c[axis] = ClampCell(floor);
      offset[axis] = scaled - floor;
    }
  }

  static uint32_t HashOf(const Cell &cell) {
    uint64_t h = MixBits(static_cast<uint64_t>(cell.c[0]) * 0x9e3779b97f4a7c15ULL ^
                         static_cast<uint64_t>(cell.c[1]) * 0xc2b2ae3d27d4eb4fULL ^
                         static_cast<uint64_t>(cell.c[2]) * 0x165667b19e3779f9ULL);
    return static_cast<uint32_t>(h >> 32);
  }

  bool Near(const Vec3 &a, const Vec3 &b) const {
    if (exact_) return (a[0] == b[0]) && (a[1] == b[1]) && (a[2] == b[2]);
    return std::fabs(a[0] - b[0]) <= threshold_ && std::fabs(a[1] - b[1]) <= threshold_ &&
           std::fabs(a[2] - b[2]) <= threshold_;
  }

  // Slot of cell: the occupied slot whose head lies in cell, else the free
  // slot where it would go.
  size_t SlotOf(const Cell &cell, uint32_t hash) const {
    const size_t mask = slots_.size() - 1;
    size_t i = hash & mask;
    while (slots_[i].head >= 0) {
      if (slots_[i].hash == hash) {
        Cell head;
        double ignored[3];
        CellOf(reps_[slots_[i].head], &head, ignored);
        if (head == cell) return i;
      }
      i = (i + 1) & mask;
    }
    return i;
  }

  int32_t MatchInCell(const Cell &cell, const Vec3 &value) const {
    const Slot &slot = slots_[SlotOf(cell, HashOf(cell))];
    for (int32_t rep = slot.head; rep >= 0; rep = chain_[rep])
      if (Near(reps_[rep], value)) return rep;
    return -1;
  }

  int32_t AddLoose(const Vec3 &value) {
    reps_.push_back(value);
    chain_.push_back(-1);
    return static_cast<int32_t>(reps_.size() - 1);
  }

  int32_t Add(const Cell &cell, const Vec3 &value) {
    if ((cells_ + 1) * 2 > slots_.size()) Grow();
    const uint32_t hash = HashOf(cell);
    Slot &slot = slots_[SlotOf(cell, hash)];
    const int32_t rep = AddLoose(value);
    if (slot.head < 0) ++cells_;
    chain_[rep] = slot.head;
    slot = Slot{hash, rep};
    return rep;
  }

  void Grow() {
    std::vector<Slot> old(slots_.size() * 2, Slot{0, -1});
    old.swap(slots_);
    const size_t mask = slots_.size() - 1;
    for (const Slot &slot : old) {
      if (slot.head < 0) continue;
      size_t i = slot.hash & mask;
      while (slots_[i].head >= 0) i = (i + 1) & mask;
      slots_[i] = slot;
    }
  }

  const bool exact_;
  const float threshold_;
  const double inverse_side_;
  std::vector<Vec3> reps_;
  std::vector<int32_t> chain_;                  // next older representative in the same cell
  std::vector<Slot> slots_;
  size_t cells_ = 0;
};

// After positions are welded: polygons left with fewer than three distinct
// positions go (Coin3D's pre-sized buffers end in zero-filled triangles that
// all collapse onto the origin), and a corner that repeats the position of
// the corner before it in the same polygon is dropped.
void DropCollapsedPolygons(Mesh &mesh) {
  const std::vector<int32_t> &pos = mesh.position_index;
  std::vector<int32_t> seen_in_face(mesh.positions.size(), -1);
  std::vector<uint8_t> keep(pos.size(), 1);
  std::vector<int32_t> new_size(mesh.face_sizes);
  bool changed = false;
  int32_t begin = 0;
  for (size_t f = 0; f < mesh.face_sizes.size(); ++f) {
    const int32_t end = begin + mesh.face_sizes[f];
    int32_t distinct = 0;
    for (int32_t c = begin; c < end; ++c) {
      if (seen_in_face[pos[c]] == static_cast<int32_t>(f)) continue;
      seen_in_face[pos[c]] = static_cast<int32_t>(f);
      ++distinct;
    }
    for (int32_t c = begin; c < end; ++c) {
      const int32_t before = c == begin ? end - 1 : c - 1;
      if (distinct < 3 || pos[c] == pos[before]) {
        keep[c] = 0;
        --new_size[f];
        changed = true;
      }
    }
    if (distinct < 3) new_size[f] = 0;
    begin = end;
  }
  if (changed) mesh_detail::RemoveCorners(mesh, keep, new_size);
}

}  // namespace

void CombineStream(Mesh &mesh, MeshStream stream, float threshold) {
  if (!CheckMesh(mesh, nullptr)) return;
  mesh_detail::StreamRef ref = mesh_detail::StreamOf(mesh, stream);
  if (ref.index->empty()) return;
  // Values are visited in corner order, so the stream comes out compacted
  // (unused values dropped) in the order of first use.
  WeldGrid grid(threshold, ref.values->size());
  std::vector<int32_t> remap(ref.values->size(), -1);
  for (int32_t &i : *ref.index) {
    if (remap[i] < 0) remap[i] = grid.Find((*ref.values)[i]);
    i = remap[i];
  }
  ref.values->swap(grid.representatives());
  if (stream == MeshStream::kPosition) DropCollapsedPolygons(mesh);
}

}  // namespace kavrel
