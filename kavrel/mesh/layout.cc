// Polygon layout and the per-stream bookkeeping the mesh operations share.
#include <algorithm>

#include "kavrel/memory/large_blocks.h"
#include "kavrel/mesh/mesh_internal.h"

namespace kavrel {
namespace mesh_detail {

FaceLayout MakeFaceLayout(const Mesh &mesh) {
  FaceLayout layout;
  layout.start.resize(mesh.face_sizes.size() + 1);
  layout.face_of.resize(mesh.corner_count());
  int32_t corner = 0;
  for (size_t f = 0; f < mesh.face_sizes.size(); ++f) {
    layout.start[f] = corner;
    for (int32_t k = 0; k < mesh.face_sizes[f]; ++k) layout.face_of[corner++] = static_cast<int32_t>(f);
  }
  layout.start.back() = corner;
  return layout;
}

StreamRef StreamOf(Mesh &mesh, MeshStream stream) {
  switch (stream) {
    case MeshStream::kNormal: return {&mesh.normals, &mesh.normal_index};
    case MeshStream::kTexcoord: return {&mesh.texcoords, &mesh.texcoord_index};
    case MeshStream::kColor: return {&mesh.colors, &mesh.color_index};
    case MeshStream::kPosition: break;
  }
  return {&mesh.positions, &mesh.position_index};
}

ConstStreamRef StreamOf(const Mesh &mesh, MeshStream stream) {
  StreamRef ref = StreamOf(const_cast<Mesh &>(mesh), stream);
  return {ref.values, ref.index};
}

}  // namespace mesh_detail

bool HasStream(const Mesh &mesh, MeshStream stream) { return !mesh_detail::StreamOf(mesh, stream).index->empty(); }

bool HasFaces(const Mesh &mesh) {
  return std::any_of(mesh.face_sizes.begin(), mesh.face_sizes.end(), [](int32_t size) { return size >= 3; });
}

namespace mesh_detail {

void CompactStream(std::vector<Vec3> &values, std::vector<int32_t> &index) {
  std::vector<int32_t> remap(values.size(), -1);
  std::vector<Vec3> kept;
  {
    UntouchedBlocks untouched;                 // room for every value kept
    kept.reserve(values.size());
  }
  for (int32_t &i : index) {
    if (remap[i] < 0) {
      remap[i] = static_cast<int32_t>(kept.size());
      kept.push_back(values[i]);
    }
    i = remap[i];
  }
  if (kept.size() != values.size()) values.swap(kept);
}

namespace {

template <typename T>
void KeepFlagged(std::vector<T> &items, const std::vector<uint8_t> &keep) {
  size_t out = 0;
  for (size_t i = 0; i < items.size(); ++i)
    if (keep[i]) items[out++] = items[i];
  items.resize(out);
}

}  // namespace

void RemoveCorners(Mesh &mesh, const std::vector<uint8_t> &keep_corner, const std::vector<int32_t> &new_size) {
  std::vector<uint8_t> keep_face(new_size.size());
  for (size_t f = 0; f < new_size.size(); ++f) keep_face[f] = new_size[f] > 0;
  for (MeshStream stream : kAllStreams) {
    StreamRef ref = StreamOf(mesh, stream);
    if (ref.index->empty()) continue;
    KeepFlagged(*ref.index, keep_corner);
    CompactStream(*ref.values, *ref.index);
  }
  mesh.face_sizes = new_size;
  KeepFlagged(mesh.face_sizes, keep_face);
  if (!mesh.face_surface.empty()) KeepFlagged(mesh.face_surface, keep_face);
  // Buffers sized for a shape's estimated triangles often lose half their
  // corners here, and the mesh lives on in the scene: give the room back.
  for (MeshStream stream : kAllStreams) {
    StreamRef ref = StreamOf(mesh, stream);
    ref.index->shrink_to_fit();
    ref.values->shrink_to_fit();
  }
  mesh.face_sizes.shrink_to_fit();
  mesh.face_surface.shrink_to_fit();
}

}  // namespace mesh_detail
}  // namespace kavrel
