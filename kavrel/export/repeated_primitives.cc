#include "kavrel/export/repeated_primitives.h"

#include <algorithm>
#include <cassert>
#include <utility>

namespace kavrel {
namespace {

// A primitive of N vertices, read from its first index.
template <size_t N>
struct Primitive {
  const uint32_t *v;

  uint32_t Lowest() const {
    uint32_t lowest = v[0];
    for (size_t k = 1; k < N; ++k) lowest = std::min(lowest, v[k]);
    return lowest;
  }

  // The vertices besides (one corner at) lowest, as one number that is the
  // same in any order: equal for two primitives with the same lowest vertex
  // exactly when they have the same vertices.
  uint64_t Others(uint32_t lowest) const {
    if constexpr (N == 1) {
      return 0;
    } else if constexpr (N == 2) {
      return v[0] == lowest ? v[1] : v[0];
    } else {
      const size_t skip = v[0] == lowest ? 0 : v[1] == lowest ? 1 : 2;
      const uint32_t p = v[(skip + 1) % 3], q = v[(skip + 2) % 3];
      return static_cast<uint64_t>(std::min(p, q)) << 32 | std::max(p, q);
    }
  }
};

// Marks the primitives of a run sharing one lowest vertex (in their order)
// that repeat an earlier one of the run.
template <size_t N>
void MarkRepeats(const std::vector<uint32_t> &in, uint32_t lowest, const uint32_t *run, size_t count,
                 std::vector<uint8_t> &repeated, std::vector<std::pair<uint64_t, uint32_t>> &scratch) {
  constexpr size_t kPairwise = 16;             // short runs are compared pair by pair
  if (count <= kPairwise) {
    uint64_t keys[kPairwise];
    for (size_t i = 0; i < count; ++i) {
      keys[i] = Primitive<N>{&in[N * run[i]]}.Others(lowest);
      for (size_t j = 0; j < i; ++j) {
        if (keys[j] == keys[i]) {
          repeated[run[i]] = 1;
          break;
        }
      }
    }
    return;
  }
  scratch.clear();
  for (size_t i = 0; i < count; ++i) scratch.emplace_back(Primitive<N>{&in[N * run[i]]}.Others(lowest), run[i]);
  std::sort(scratch.begin(), scratch.end());
  for (size_t i = 1; i < scratch.size(); ++i)
    if (scratch[i].first == scratch[i - 1].first) repeated[scratch[i].second] = 1;
}

template <size_t N>
void DropRepeated(std::vector<uint32_t> *indices, size_t vertex_count) {
  std::vector<uint32_t> &in = *indices;
  const size_t primitives = in.size() / N;
  auto lowest = [&](size_t p) { return Primitive<N>{&in[N * p]}.Lowest(); };
  // Primitives by their lowest vertex (a counting sort, stable): a repeat
  // shares it with the primitive it repeats.
  std::vector<uint32_t> first(vertex_count + 1, 0);
  for (size_t p = 0; p < primitives; ++p) ++first[lowest(p) + 1];
  for (size_t v = 0; v < vertex_count; ++v) first[v + 1] += first[v];
  std::vector<uint32_t> order(primitives), next(first.begin(), first.end() - 1);
  for (size_t p = 0; p < primitives; ++p) order[next[lowest(p)]++] = static_cast<uint32_t>(p);
  std::vector<uint8_t> repeated(primitives, 0);
  std::vector<std::pair<uint64_t, uint32_t>> scratch;
  for (size_t v = 0; v < vertex_count; ++v) {
    if (first[v + 1] - first[v] >= 2)
      MarkRepeats<N>(in, static_cast<uint32_t>(v), &order[first[v]], first[v + 1] - first[v], repeated, scratch);
  }
  size_t kept = 0;
  for (size_t p = 0; p < primitives; ++p) {
    if (repeated[p]) continue;
    if (kept != p) std::copy(&in[N * p], &in[N * p] + N, &in[N * kept]);
    ++kept;
  }
  in.resize(N * kept);
}

}  // namespace

void DropRepeatedPrimitives(std::vector<uint32_t> *indices, size_t vertex_count, size_t vertices_per_primitive) {
  switch (vertices_per_primitive) {
    case 1: return DropRepeated<1>(indices, vertex_count);
    case 2: return DropRepeated<2>(indices, vertex_count);
    default: assert(vertices_per_primitive == 3); return DropRepeated<3>(indices, vertex_count);
  }
}

}  // namespace kavrel
