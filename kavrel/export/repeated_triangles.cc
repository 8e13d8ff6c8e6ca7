#include "kavrel/export/repeated_triangles.h"

#include <algorithm>
#include <utility>

namespace kavrel {
namespace {

// A triangle's lowest vertex.
uint32_t Lowest(const uint32_t *t) { return std::min(t[0], std::min(t[1], t[2])); }

// The two vertices of a triangle besides (one corner at) lowest, as one
// number that is the same in any order: equal for two triangles with the
// same lowest vertex exactly when they have the same three.
uint64_t OtherTwo(const uint32_t *t, uint32_t lowest) {
  const int skip = t[0] == lowest ? 0 : t[1] == lowest ? 1 : 2;
  const uint32_t p = t[(skip + 1) % 3], q = t[(skip + 2) % 3];
  return static_cast<uint64_t>(std::min(p, q)) << 32 | std::max(p, q);
}

// Marks the triangles of a run sharing one lowest vertex (in their order)
// that repeat an earlier one of the run.
void MarkRepeats(const std::vector<uint32_t> &in, uint32_t lowest, const uint32_t *run, size_t count,
                 std::vector<uint8_t> &repeated, std::vector<std::pair<uint64_t, uint32_t>> &scratch) {
  constexpr size_t kPairwise = 16;             // short runs are compared pair by pair
  if (count <= kPairwise) {
    uint64_t keys[kPairwise];
    for (size_t i = 0; i < count; ++i) {
      keys[i] = OtherTwo(&in[3 * run[i]], lowest);
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
  for (size_t i = 0; i < count; ++i) scratch.emplace_back(OtherTwo(&in[3 * run[i]], lowest), run[i]);
  std::sort(scratch.begin(), scratch.end());
  for (size_t i = 1; i < scratch.size(); ++i)
    if (scratch[i].first == scratch[i - 1].first) repeated[scratch[i].second] = 1;
}

}  // namespace

void DropRepeatedTriangles(std::vector<uint32_t> *indices, size_t vertex_count) {
  std::vector<uint32_t> &in = *indices;
  const size_t triangles = in.size() / 3;
  // Triangles by their lowest vertex (a counting sort, stable): a repeat
  // shares it with the triangle it repeats.
  std::vector<uint32_t> first(vertex_count + 1, 0);
  for (size_t t = 0; t < triangles; ++t) ++first[Lowest(&in[3 * t]) + 1];
  for (size_t v = 0; v < vertex_count; ++v) first[v + 1] += first[v];
  std::vector<uint32_t> order(triangles), next(first.begin(), first.end() - 1);
  for (size_t t = 0; t < triangles; ++t) order[next[Lowest(&in[3 * t])]++] = static_cast<uint32_t>(t);
  std::vector<uint8_t> repeated(triangles, 0);
  std::vector<std::pair<uint64_t, uint32_t>> scratch;
  for (size_t v = 0; v < vertex_count; ++v) {
    if (first[v + 1] - first[v] >= 2)
      MarkRepeats(in, static_cast<uint32_t>(v), &order[first[v]], first[v + 1] - first[v], repeated, scratch);
  }
  size_t kept = 0;
  for (size_t t = 0; t < triangles; ++t) {
    if (repeated[t]) continue;
    if (kept != t) std::copy(&in[3 * t], &in[3 * t] + 3, &in[3 * kept]);
    ++kept;
  }
  in.resize(3 * kept);
}

}  // namespace kavrel
