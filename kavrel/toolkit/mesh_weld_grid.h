// The spatial hash behind welding: cells of a uniform grid in a flat
// open-addressing table, each cell with a chain of representatives (the
// values kept after welding).
#ifndef KAVREL_TOOLKIT_MESH_WELD_GRID_H
#define KAVREL_TOOLKIT_MESH_WELD_GRID_H

#include <cstdint>
#include <vector>

#include "kavrel/toolkit/scene.h"

namespace kavrel {
namespace mesh_detail {

// A value within the threshold of a representative lies in the
// representative's own cell or, on each axis where the representative is
// within the threshold of a cell wall, in the neighbour beyond that wall.
// So each representative is entered in all of those cells (on average 1.95
// with a side of eight thresholds), and a look-up searches the value's own
// cell only. A cell holds few representatives, since they are more than
// the threshold apart. A threshold of 0 (or one that is not a positive
// number) welds equal values only.
//
// Slots carry their cell's key, so a probe never reads the values, and a
// cell's slot is found from the top bits of its hash: values looked up in
// the order of HomeHash walk the table from front to back instead of
// jumping about in it, which keeps a weld of millions of values out of
// main-memory latency. Only entering a new representative in a neighbour
// cell jumps.
class WeldGrid {
 public:
  WeldGrid(float threshold, size_t expected_values);

  // The hash of the cell that value falls in.
  uint32_t HomeHash(const Vec3 &value) const;

  // The representative that value welds to, made from value when none is near.
  int32_t Find(const Vec3 &value);

  std::vector<Vec3> &representatives() { return reps_; }

 private:
  // Cell coordinates modulo 2^32: cells that far apart share a key, which
  // costs a distance test but never a wrong weld.
  struct Cell {
    uint32_t c[3];
    bool operator==(const Cell &o) const { return c[0] == o.c[0] && c[1] == o.c[1] && c[2] == o.c[2]; }
  };
  struct Slot {
    Cell cell;
    int32_t head;                               // newest entry of the cell's chain, -1 for a free slot
  };
  struct Entry {
    int32_t rep;                                // index into reps_
    int32_t next;                               // next older entry of the same cell, -1 at the end
  };

  void CellOf(const Vec3 &value, Cell *cell, int step[3]) const;
  static uint32_t HashOf(const Cell &cell);
  bool Near(const Vec3 &a, const Vec3 &b) const;
  size_t SlotOf(const Cell &cell) const;
  int32_t MatchInCell(const Cell &cell, const Vec3 &value) const;
  int32_t AddLoose(const Vec3 &value);
  void Enter(const Cell &cell, int32_t rep);
  void Grow();

  const bool exact_;
  const float threshold_;
  const double inverse_side_;
  std::vector<Vec3> reps_;
  std::vector<Entry> entries_;
  std::vector<Slot> slots_;
  int shift_ = 0;                               // slot of a hash: hash >> shift_
  size_t cells_ = 0;
};

}  // namespace mesh_detail
}  // namespace kavrel

#endif
