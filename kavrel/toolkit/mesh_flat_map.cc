// The flat hash behind edge adjacency.
#include "kavrel/toolkit/mesh_internal.h"

namespace kavrel {
namespace mesh_detail {

namespace {

size_t CapacityFor(size_t expected) {
  size_t capacity = 64;
  while (capacity < expected * 2) capacity *= 2;
  return capacity;
}

}  // namespace

FlatMap64::FlatMap64(size_t expected) : slots_(CapacityFor(expected), Slot{0, 0, 0}) {
  mask_ = slots_.size() - 1;
}

int32_t &FlatMap64::find_or_insert(uint64_t key, int32_t fresh, bool *inserted) {
  if ((count_ + 1) * 2 > slots_.size()) grow();
  size_t i = MixBits(key) & mask_;
  while (slots_[i].used) {
    if (slots_[i].key == key) {
      *inserted = false;
      return slots_[i].value;
    }
    i = (i + 1) & mask_;
  }
  slots_[i] = Slot{key, fresh, 1};
  ++count_;
  *inserted = true;
  return slots_[i].value;
}

void FlatMap64::grow() {
  std::vector<Slot> old(slots_.size() * 2, Slot{0, 0, 0});
  old.swap(slots_);
  mask_ = slots_.size() - 1;
  for (const Slot &slot : old) {
    if (!slot.used) continue;
    size_t i = MixBits(slot.key) & mask_;
    while (slots_[i].used) i = (i + 1) & mask_;
    slots_[i] = slot;
  }
}

}  // namespace mesh_detail
}  // namespace kavrel
