// Edge adjacency: which polygon lies across each edge.
#include <algorithm>

#include "kavrel/memory/large_blocks.h"
#include "kavrel/mesh/anchored_table.h"
#include "kavrel/mesh/mesh_internal.h"

namespace kavrel {
namespace mesh_detail {

namespace {

constexpr int32_t kDeadEdge = -1;              // shared by three or more polygons, or wound alike
// Edge states: >= 0 the one corner seen so far; <= -2 paired, encoding the
// first corner as -value - 2; kDeadEdge no twin for anyone.
inline int32_t PairedValue(int32_t first) { return -first - 2; }
inline int32_t PairedFirst(int32_t value) { return -value - 2; }

uint64_t EdgeKey(int32_t a, int32_t b) {
  uint32_t lo = static_cast<uint32_t>(std::min(a, b)), hi = static_cast<uint32_t>(std::max(a, b));
  return (static_cast<uint64_t>(hi) << 32) | lo;
}

struct EdgeKeyHash {
  uint64_t operator()(uint64_t key) const { return MixBits(key); }
};

}  // namespace

std::vector<int32_t> EdgeTwins(const Mesh &mesh, const FaceLayout &layout, bool opposite_only) {
  const std::vector<int32_t> &pos = mesh.position_index;
  const int32_t corners = static_cast<int32_t>(pos.size());
  std::vector<int32_t> twin(corners, -1);
  // Edges anchored at their lower end.
  AnchoredTable<uint64_t, EdgeKeyHash> edges(mesh.positions.size(), corners / 2 + 1);
  std::vector<int32_t> state;                  // by edge id
  {
    UntouchedBlocks untouched;                 // room for every edge distinct; most are shared
    state.reserve(corners / 2 + 1);
  }
  for (int32_t c = 0; c < corners; ++c) {
    const int32_t f = layout.face_of[c];
    if (layout.start[f + 1] - layout.start[f] < 3) continue;  // a segment or a point
    const int32_t a = pos[c], b = pos[NextCorner(layout, c)];
    if (a == b) continue;
    bool inserted = false;
    const int32_t edge = edges.Intern(static_cast<uint32_t>(std::min(a, b)), EdgeKey(a, b), &inserted);
    if (inserted) state.push_back(c);
    int32_t &slot = state[edge];
    if (inserted || slot == kDeadEdge) continue;
    if (slot >= 0) {
      const int32_t first = slot;
      if (opposite_only && pos[first] == a) {
        slot = kDeadEdge;
        continue;
      }
      twin[first] = c;
      twin[c] = first;
      slot = PairedValue(first);
      continue;
    }
    const int32_t first = PairedFirst(slot);
    twin[twin[first]] = -1;
    twin[first] = -1;
    slot = kDeadEdge;
  }
  return twin;
}

}  // namespace mesh_detail
}  // namespace kavrel
