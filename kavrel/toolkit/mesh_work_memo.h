// Results of mesh work kept for meshes that come again. Scenes place one
// shape many times over (every Cube of the same size, a part in each of
// its assemblies), the plug-in defines an object for each use, and each
// would be welded and smoothed anew to the same result. The memo keeps the
// result for a small mesh seen a second time under the same work, and
// hands it to every later identical mesh instead of working it out again.
// A mesh counts as identical only when every byte is (compared, not just
// hashed), so the meshes end exactly as the work would leave them.
#ifndef KAVREL_TOOLKIT_MESH_WORK_MEMO_H
#define KAVREL_TOOLKIT_MESH_WORK_MEMO_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "kavrel/mesh/mesh.h"

namespace kavrel {

class MeshWorkMemo {
 public:
  // Does work(mesh), or gives mesh the result kept for this mesh under
  // the work that `signature` names (its steps and parameters as bytes).
  // True when the result came from the memo.
  template <typename Work>
  bool Run(Mesh &mesh, const std::string &signature, Work work) {
    if (mesh.corner_count() > kLargestCorners) {
      work(mesh);
      return false;
    }
    const uint64_t key = Key(mesh, signature);
    if (Recall(key, signature, mesh)) return true;
    if (!ShouldKeep(key)) {
      work(mesh);
      return false;
    }
    Kept kept{signature, mesh, {}};
    work(mesh);
    kept.after = mesh;
    Keep(key, std::move(kept));
    return false;
  }

 private:
  // Larger meshes rarely come twice, and a copy of one costs about what
  // the work does.
  static constexpr size_t kLargestCorners = size_t{1} << 16;
  // Room for the meshes kept, before and after; past it nothing more is.
  static constexpr size_t kKeptBytes = size_t{64} << 20;
  // How many meshes seen once are remembered (by their keys).
  static constexpr size_t kSeenKeys = size_t{1} << 20;

  struct Kept {
    std::string signature;
    Mesh before;
    Mesh after;
  };

  static uint64_t Key(const Mesh &mesh, const std::string &signature);
  bool Recall(uint64_t key, const std::string &signature, Mesh &mesh) const;
  // A mesh is kept the second time it comes, and while there is room.
  bool ShouldKeep(uint64_t key);
  void Keep(uint64_t key, Kept kept);

  std::unordered_set<uint64_t> seen_;
  std::unordered_multimap<uint64_t, Kept> kept_;
  size_t kept_bytes_ = 0;
};

}  // namespace kavrel

#endif
