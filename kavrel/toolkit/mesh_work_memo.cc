#include "kavrel/toolkit/mesh_work_memo.h"

#include <functional>
#include <utility>

#include "kavrel/mesh/byte_hash.h"
#include "kavrel/mesh/mesh_ops.h"

namespace kavrel {
namespace {

template <typename T>
size_t Bytes(const std::vector<T> &values) {
  return values.size() * sizeof(T);
}

size_t MeshBytes(const Mesh &mesh) {
  size_t bytes = Bytes(mesh.positions) + Bytes(mesh.normals) + Bytes(mesh.texcoords) + Bytes(mesh.colors) +
                 Bytes(mesh.face_sizes) + Bytes(mesh.position_index) + Bytes(mesh.normal_index) +
                 Bytes(mesh.texcoord_index) + Bytes(mesh.color_index) + Bytes(mesh.face_surface);
  for (const std::string &name : mesh.surface_names) bytes += sizeof name + name.size();
  return bytes;
}

}  // namespace

uint64_t MeshWorkMemo::Key(const Mesh &mesh, const std::string &signature) {
  return MixBits(MeshHash(mesh) ^ std::hash<std::string>{}(signature));
}

bool MeshWorkMemo::Recall(uint64_t key, const std::string &signature, Mesh &mesh) const {
  auto [first, last] = kept_.equal_range(key);
  for (auto it = first; it != last; ++it) {
    const Kept &kept = it->second;
    if (kept.signature != signature || !SameMesh(kept.before, mesh)) continue;
    mesh = Mesh(kept.after);  // a fresh copy: assigned, the mesh would keep its larger arrays
    return true;
  }
  return false;
}

bool MeshWorkMemo::ShouldKeep(uint64_t key) {
  if (kept_bytes_ >= kKeptBytes) return false;
  if (seen_.count(key) != 0) return true;
  if (seen_.size() < kSeenKeys) seen_.insert(key);
  return false;
}

void MeshWorkMemo::Keep(uint64_t key, Kept kept) {
  kept_bytes_ += MeshBytes(kept.before) + MeshBytes(kept.after);
  kept_.emplace(key, std::move(kept));
}

}  // namespace kavrel
