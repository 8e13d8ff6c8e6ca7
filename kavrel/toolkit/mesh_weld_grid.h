// The spatial hashing behind welding ("combine").
#ifndef KAVREL_TOOLKIT_MESH_WELD_GRID_H
#define KAVREL_TOOLKIT_MESH_WELD_GRID_H

#include <cstdint>
#include <vector>

#include "kavrel/toolkit/scene.h"

namespace kavrel {
namespace mesh_detail {

struct WeldResult {
  std::vector<int32_t> rep_of;                 // per value: its representative, -1 for values no corner uses
  std::vector<Vec3> reps;                      // the values kept
};

// Welds the values flagged in used: each becomes the first representative
// found within threshold (per component), or a new representative. A
// threshold of 0 (or one that is not a positive number) welds equal values
// only; values that are not finite never weld.
WeldResult WeldValues(const std::vector<Vec3> &values, const std::vector<uint8_t> &used, float threshold);

}  // namespace mesh_detail
}  // namespace kavrel

#endif
