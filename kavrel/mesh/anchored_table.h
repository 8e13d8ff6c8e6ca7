// Dense ids for distinct keys that each belong to a small integer anchor
// (a vertex tuple to its position, an edge to its lower end). The keys of
// one anchor are found along a short chain from the anchor's slot: keys
// made from neighbouring corners lie close together in memory, where a hash
// table would scatter every probe across the whole table. An anchor with
// more than kChainLimit keys (a fan of thousands of faces around one point)
// keeps the rest in a hash table, so n insertions stay O(n) expected. Each
// key lives in one place only.
#ifndef KAVREL_MESH_ANCHORED_TABLE_H
#define KAVREL_MESH_ANCHORED_TABLE_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "kavrel/memory/large_blocks.h"
#include "kavrel/mesh/intern_table.h"

namespace kavrel {

template <typename Key, typename Hash>
class AnchoredTable {
 public:
  // Anchors run from 0 to anchors - 1 (others go to the hash table); room
  // for expected keys before the key arrays grow.
  // Callers expect the most keys there can be, of which most meshes use a
  // fraction: the arrays' unused pages stay untouched.
  AnchoredTable(size_t anchors, size_t expected) : first_(anchors, kNoKey) {
    UntouchedBlocks untouched;
    keys_.reserve(expected);
    next_.reserve(expected);
  }

  // The id of key (0, 1, ... by first appearance); *inserted tells whether
  // the key is new.
  int32_t Intern(size_t anchor, const Key &key, bool *inserted) {
    *inserted = false;
    int32_t *link = nullptr;
    if (anchor < first_.size()) {
      link = &first_[anchor];
      for (int length = 0; *link != kNoKey; link = &next_[*link]) {
        if (keys_[*link] == key) return *link;
        if (++length == kChainLimit) {
          link = nullptr;
          break;
        }
      }
    }
    const int32_t id = static_cast<int32_t>(keys_.size());
    if (link == nullptr) {
      bool added = false;
      const int32_t other = overflow_.Intern(key, &added);
      if (!added) return overflow_ids_[other];
      overflow_ids_.push_back(id);
    } else {
      *link = id;
    }
    keys_.push_back(key);
    next_.push_back(kNoKey);
    *inserted = true;
    return id;
  }

  // The keys by id.
  const std::vector<Key> &keys() const { return keys_; }
  size_t size() const { return keys_.size(); }

 private:
  static constexpr int32_t kNoKey = -1;
  static constexpr int kChainLimit = 8;

  std::vector<Key> keys_;                      // by id
  std::vector<int32_t> first_;                 // by anchor: its first key's id
  std::vector<int32_t> next_;                  // by id: the next key of the same anchor
  InternTable<Key, Hash> overflow_{0};         // keys past an anchor's chain limit: index into overflow_ids_
  std::vector<int32_t> overflow_ids_;          // id of each overflow entry
};

}  // namespace kavrel

#endif
