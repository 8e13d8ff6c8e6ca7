// 64-bit hashes of bytes, for finding candidates fast (identical meshes,
// hash table keys) and telling contents apart; never for security.
#ifndef KAVREL_MESH_BYTE_HASH_H
#define KAVREL_MESH_BYTE_HASH_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace kavrel {

// A 64-bit key with every input bit spread over every output bit, for
// hashing keys whose low bits alone say little.
inline uint64_t MixBits(uint64_t x) {
  x ^= x >> 33;
  x *= 0xff51afd7ed558ccdULL;
  x ^= x >> 33;
  x *= 0xc4ceb9fe1a85ec53ULL;
  x ^= x >> 33;
  return x;
}

// Bytes added in any number of pieces. Four lanes of eight bytes each, so
// that the multiplications of neighbouring words do not wait for each other.
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
  // The size first, so that two vectors' bytes never run into each other.
  template <typename T>
  void AddVector(const std::vector<T> &values) {
    const uint64_t size = values.size();
    Add(&size, sizeof size);
    Add(values.data(), values.size() * sizeof(T));
  }
  uint64_t Value() const { return MixBits(lane_[0] ^ MixBits(lane_[1] ^ MixBits(lane_[2] ^ lane_[3]))); }

 private:
  static constexpr uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;
  uint64_t lane_[4] = {1, 2, 3, 4};
};

}  // namespace kavrel

#endif
