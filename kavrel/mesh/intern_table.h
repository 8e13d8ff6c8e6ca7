// Dense ids for distinct keys: an open-addressing hash whose slots hold
// ids into one array of the keys, in order of first appearance. Growth by
// doubling, so n insertions cost O(n) expected and allocate nothing per key
// (once the key array is reserved).
#ifndef KAVREL_MESH_INTERN_TABLE_H
#define KAVREL_MESH_INTERN_TABLE_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kavrel {

// Hash: a functor answering a uint64_t for a key; Key: equality-comparable.
template <typename Key, typename Hash>
class InternTable {
 public:
  // Room for `expected` keys before the first growth, and their array
  // reserved for key_capacity keys.
  explicit InternTable(size_t expected, size_t key_capacity = 0) : slots_(CapacityFor(expected), kEmpty) {
    keys_.reserve(key_capacity);
  }

  // The id of key (0, 1, ... by first appearance); *inserted tells whether
  // the key is new.
  int32_t Intern(const Key &key, bool *inserted) {
    if (2 * (keys_.size() + 1) > slots_.size()) Grow();
    const size_t mask = slots_.size() - 1;
    for (size_t slot = Hash{}(key) & mask;; slot = (slot + 1) & mask) {
      const int32_t id = slots_[slot];
      if (id == kEmpty) {
        slots_[slot] = static_cast<int32_t>(keys_.size());
        keys_.push_back(key);
        *inserted = true;
        return slots_[slot];
      }
      if (keys_[id] == key) {
        *inserted = false;
        return id;
      }
    }
  }

  // The keys by id.
  const std::vector<Key> &keys() const { return keys_; }
  size_t size() const { return keys_.size(); }

 private:
  static constexpr int32_t kEmpty = -1;

  // A power of two at least twice expected, so the table starts half full at most.
  static size_t CapacityFor(size_t expected) {
    size_t capacity = 64;
    while (capacity < 2 * expected) capacity *= 2;
    return capacity;
  }

  void Grow() {
    slots_.assign(2 * slots_.size(), kEmpty);
    const size_t mask = slots_.size() - 1;
    for (size_t id = 0; id < keys_.size(); ++id) {
      size_t slot = Hash{}(keys_[id]) & mask;
      while (slots_[slot] != kEmpty) slot = (slot + 1) & mask;
      slots_[slot] = static_cast<int32_t>(id);
    }
  }

  std::vector<int32_t> slots_;                 // id of the key hashed there, kEmpty for none
  std::vector<Key> keys_;                      // by id
};

}  // namespace kavrel

#endif
