// Welding ("combine"): values of one stream that lie within the threshold
// of each other become one value, found by spatial hashing.
#include "kavrel/toolkit/mesh_internal.h"
#include "kavrel/toolkit/mesh_weld_grid.h"

namespace kavrel {

namespace {

// A value to weld and where it came from.
struct Pending {
  Vec3 value;
  int32_t id;                                   // index into the stream's values
};

// The values some corner uses, grouped by the top 16 bits of their home
// cell's hash (one counting-sort pass), so that the grid's table is
// visited nearly in order.
std::vector<Pending> GroupByHome(const mesh_detail::WeldGrid &grid, const std::vector<Vec3> &values,
                                 const std::vector<uint8_t> &used) {
  constexpr int kBuckets = 1 << 16;
  std::vector<uint32_t> hash(values.size());
  std::vector<uint32_t> start(kBuckets + 1, 0);
  for (size_t v = 0; v < values.size(); ++v) {
    if (!used[v]) continue;
    hash[v] = grid.HomeHash(values[v]) >> 16;
    ++start[hash[v] + 1];
  }
  for (int b = 0; b < kBuckets; ++b) start[b + 1] += start[b];
  std::vector<Pending> pending(start[kBuckets]);
  for (size_t v = 0; v < values.size(); ++v)
    if (used[v]) pending[start[hash[v]]++] = Pending{values[v], static_cast<int32_t>(v)};
  return pending;
}

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
  std::vector<Vec3> &values = *ref.values;
  std::vector<int32_t> &index = *ref.index;
  std::vector<uint8_t> used(values.size(), 0);
  for (int32_t i : index) used[i] = 1;
  mesh_detail::WeldGrid grid(threshold, values.size());
  std::vector<int32_t> rep_of(values.size(), -1);
  for (const Pending &p : GroupByHome(grid, values, used)) rep_of[p.id] = grid.Find(p.value);
  // Numbered again in the order corners first use them: the stream comes
  // out compacted, unused values dropped.
  const std::vector<Vec3> &reps = grid.representatives();
  std::vector<int32_t> number(reps.size(), -1);
  std::vector<Vec3> welded;
  welded.reserve(reps.size());
  for (int32_t &i : index) {
    int32_t &n = number[rep_of[i]];
    if (n < 0) {
      n = static_cast<int32_t>(welded.size());
      welded.push_back(reps[rep_of[i]]);
    }
    i = n;
  }
  values.swap(welded);
  if (stream == MeshStream::kPosition) DropCollapsedPolygons(mesh);
}

}  // namespace kavrel
