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
// comparison, never a wrong weld. Where corners are far apart in cells (a
// fine threshold), each search misses the caches up to three times (head,
// entry, representative); AddCorners loads those ahead of the search.
class SpatialWelder {
 public:
  SpatialWelder(float threshold, size_t expected_values);
  SpatialWelder(const SpatialWelder &) = delete;
  SpatialWelder &operator=(const SpatialWelder &) = delete;

  // Gives each value the corners of index use that has no representative
  // yet (rep_of[i] < 0) its representative's index in reps(), in corner
  // order.
  void AddCorners(const std::vector<Vec3> &values, const std::vector<int32_t> &index, std::vector<int32_t> &rep_of);
  std::vector<Vec3> &reps() { return reps_; }

 private:
  struct Cell {
    uint32_t c[3];
  };
  // Where the search for a value starts: its home cell and that cell's
  // key, and per axis the step (-1 or +1) towards a wall within the
  // threshold, else 0. finite: the value can weld at all; located: the
  // rest was worked out.
  struct Probe {
    Cell home;
    uint32_t key;
    int8_t step[3];
    bool finite;
    bool located;
  };
  struct Entry {
    int32_t rep;
    int32_t next;  // next older entry with the same head
    uint32_t key;  // of the entry's cell
  };

  // Index of value's representative in reps(); ahead is its probe, or one
  // not located yet.
  int32_t Add(const Vec3 &value, const Probe &ahead);
  int32_t Find(const Vec3 &value, const Probe &probe);
  void Locate(const Vec3 &value, Probe *probe) const;
  // Where the search for probe will read first: its head, the first entry
  // of its chain and that entry's representative (null for none).
  const int32_t *HeadOf(const Probe &probe) const;
  const Entry *ChainOf(const Probe &probe) const;
  const Vec3 *RepOf(const Probe &probe) const;
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
