// The spatial hashing behind welding ("combine").
#ifndef KAVREL_MESH_WELD_GRID_H
#define KAVREL_MESH_WELD_GRID_H

#include <cstdint>
#include <vector>

#include "kavrel/mesh/mesh.h"

namespace kavrel {
namespace mesh_detail {

// Welds values one at a time: each becomes the first representative found
// within threshold (per component), or a new representative. A threshold
// of 0 (or one that is not a positive number) welds equal values only;
// values that are not finite never weld.
//
// Space is cut into cubic cells kCellSide thresholds wide. A value within
// the threshold of a representative lies in the representative's own cell
// or, on each axis where the representative is within the threshold of a
// cell wall, in the neighbour beyond that wall; so a new representative is
// entered in all of those cells and a value only ever searches its own.
//
// Cells hash into a table of chain heads. Runs of neighbouring cells along
// x have heads side by side: values arrive in corner order, which is
// spatially coherent for real meshes, and the heads they need are then
// mostly in cache. Cells that share a key share a chain, which costs a
// comparison, never a wrong weld.
class SpatialWelder {
 public:
  SpatialWelder(float threshold, size_t expected_values);
  SpatialWelder(const SpatialWelder &) = delete;
  SpatialWelder &operator=(const SpatialWelder &) = delete;

  // Index of value's representative in reps().
  int32_t Add(const Vec3 &value);
  std::vector<Vec3> &reps() { return reps_; }

 private:
  struct Cell {
    uint32_t c[3];
  };
  struct Entry {
    int32_t rep;
    int32_t next;  // next older entry with the same head
    uint32_t key;  // of the entry's cell
  };

  // The representative of value; *finite tells whether value could weld at all.
  int32_t Find(const Vec3 &value, bool *finite);
  bool CellOf(const Vec3 &value, Cell *cell, int step[3]) const;
  uint32_t KeyOf(const Cell &cell) const;
  bool Near(const Vec3 &a, const Vec3 &b) const;
  void Enter(uint32_t key, int32_t rep);
  void Grow();

  bool exact_;
  float threshold_;
  double inverse_side_;
  std::vector<int32_t> heads_;  // newest entry per key & mask_, -1 for none
  uint32_t mask_ = 0;
  std::vector<Entry> entries_;
  std::vector<Vec3> reps_;
  Vec3 last_value_{0, 0, 0};                   // the value added last and its representative
  int32_t last_rep_ = -1;                      // -1: none, or not finite
};

}  // namespace mesh_detail
}  // namespace kavrel

#endif
