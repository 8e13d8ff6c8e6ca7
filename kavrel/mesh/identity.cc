// Identity of meshes by their exact bytes: a hash to find candidates fast,
// a comparison to confirm them.
#include <cstring>

#include "kavrel/mesh/mesh_internal.h"

namespace kavrel {
namespace {

constexpr uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;

// Four lanes of eight bytes each, so that the multiplications of
// neighbouring words do not wait for each other.
class ByteHash {
 public:
  void Add(const void *data, size_t bytes) {
    const unsigned char *p = static_cast<const unsigned char *>(data);
    uint64_t word[4];
    for (; bytes >= sizeof word; bytes -= sizeof word, p += sizeof word) {
      std::memcpy(word, p, sizeof word);
      for (int k = 0; k < 4; ++k) lane_[k] = (lane_[k] ^ word[k]) * kMultiplier;
    }
    for (size_t k = 0; bytes > 0; ++k) {
      uint64_t tail = 0;
      const size_t take = bytes < 8 ? bytes : 8;
      std::memcpy(&tail, p, take);
      lane_[k] = (lane_[k] ^ tail ^ take) * kMultiplier;
      p += take;
      bytes -= take;
    }
  }
  template <typename T>
  void AddVector(const std::vector<T> &values) {
    const uint64_t size = values.size();
    Add(&size, sizeof size);
    Add(values.data(), values.size() * sizeof(T));
  }
  uint64_t Value() const {
    return mesh_detail::MixBits(lane_[0] ^ mesh_detail::MixBits(lane_[1] ^ mesh_detail::MixBits(lane_[2] ^ lane_[3])));
  }

 private:
  uint64_t lane_[4] = {1, 2, 3, 4};
};

template <typename T>
bool SameBytes(const std::vector<T> &a, const std::vector<T> &b) {
  return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

}  // namespace

uint64_t MeshHash(const Mesh &mesh) {
  ByteHash hash;
  for (const std::vector<Vec3> *values : {&mesh.positions, &mesh.normals, &mesh.texcoords, &mesh.colors})
    hash.AddVector(*values);
  for (const std::vector<int32_t> *list : {&mesh.face_sizes, &mesh.position_index, &mesh.normal_index,
                                           &mesh.texcoord_index, &mesh.color_index, &mesh.face_surface})
    hash.AddVector(*list);
  for (const std::string &name : mesh.surface_names) hash.Add(name.c_str(), name.size() + 1);
  const uint64_t clockwise = mesh.clockwise;
  hash.Add(&clockwise, sizeof clockwise);
  return hash.Value();
}

bool SameMesh(const Mesh &a, const Mesh &b) {
  return a.clockwise == b.clockwise && SameBytes(a.positions, b.positions) && SameBytes(a.normals, b.normals) &&
         SameBytes(a.texcoords, b.texcoords) && SameBytes(a.colors, b.colors) &&
         SameBytes(a.face_sizes, b.face_sizes) && SameBytes(a.position_index, b.position_index) &&
         SameBytes(a.normal_index, b.normal_index) && SameBytes(a.texcoord_index, b.texcoord_index) &&
         SameBytes(a.color_index, b.color_index) && SameBytes(a.face_surface, b.face_surface) &&
         a.surface_names == b.surface_names;
}

}  // namespace kavrel
