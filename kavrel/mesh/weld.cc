// Welding ("combine"): values of one stream that lie within the threshold
// of each other become one value, found by spatial hashing.
#include <algorithm>
#include <cassert>

#include "kavrel/mesh/mesh_internal.h"
#include "kavrel/mesh/weld_grid.h"

namespace kavrel {

namespace {

// After positions are welded: faces left with fewer than three distinct
// positions go (Coin3D's pre-sized buffers end in zero-filled triangles that
// all collapse onto the origin), and so do segments whose two ends are one
// position now; a corner of a face that repeats the position of the corner
// before it is dropped. Points always stay. True when it dropped anything.
bool DropCollapsedPolygons(Mesh &mesh) {
  const std::vector<int32_t> &pos = mesh.position_index;
  std::vector<int32_t> seen_in_face(mesh.positions.size(), -1);
  std::vector<uint8_t> keep(pos.size(), 1);
  std::vector<int32_t> new_size(mesh.face_sizes);
  bool changed = false;
  int32_t begin = 0;
  for (size_t f = 0; f < mesh.face_sizes.size(); ++f) {
    const int32_t size = mesh.face_sizes[f], end = begin + size;
    int32_t distinct = 0;
    for (int32_t c = begin; c < end; ++c) {
      if (seen_in_face[pos[c]] == static_cast<int32_t>(f)) continue;
      seen_in_face[pos[c]] = static_cast<int32_t>(f);
      ++distinct;
    }
    const bool collapsed = distinct < std::min(size, 3);
    for (int32_t c = begin; c < end; ++c) {
      const int32_t before = c == begin ? end - 1 : c - 1;
      if (collapsed || (size >= 3 && pos[c] == pos[before])) {
        keep[c] = 0;
        --new_size[f];
        changed = true;
      }
    }
    begin = end;
  }
  if (changed) mesh_detail::RemoveCorners(mesh, keep, new_size);
  return changed;
}

}  // namespace

StreamWeld WeldValues(const Mesh &mesh, MeshStream stream, float threshold) {
  assert(CheckMesh(mesh, nullptr));
  const mesh_detail::ConstStreamRef ref = mesh_detail::StreamOf(mesh, stream);
  const std::vector<Vec3> &values = *ref.values;
  // Values are welded in the order corners first use them, so the stream
  // comes out numbered that way and compacted, unused values dropped.
  mesh_detail::SpatialWelder welder(threshold, values.size());
  StreamWeld weld;
  weld.rep_of.assign(values.size(), -1);
  welder.AddCorners(values, *ref.index, weld.rep_of);
  weld.reps.swap(welder.reps());
  return weld;
}

bool ApplyWeld(Mesh &mesh, MeshStream stream, StreamWeld &weld) {
  if (!HasStream(mesh, stream)) return false;
  mesh_detail::StreamRef ref = mesh_detail::StreamOf(mesh, stream);
  for (int32_t &i : *ref.index) i = weld.rep_of[i];
  ref.values->swap(weld.reps);
  ref.values->shrink_to_fit();
  weld = StreamWeld();
  return stream == MeshStream::kPosition && DropCollapsedPolygons(mesh);
}

void CombineStream(Mesh &mesh, MeshStream stream, float threshold) {
  if (!HasStream(mesh, stream)) return;
  StreamWeld weld = WeldValues(mesh, stream, threshold);
  ApplyWeld(mesh, stream, weld);
}

}  // namespace kavrel
