#include "kavrel/memory/large_blocks.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace kavrel {

namespace {

constexpr size_t kGrain = size_t{64} << 10;          // block sizes and offsets
constexpr size_t kCommitStep = size_t{32} << 20;     // committed ahead of the top
constexpr size_t kKeptAnyway = size_t{64} << 20;     // free pages kept in any case

size_t RoundUp(size_t bytes, size_t step) { return (bytes + step - 1) / step * step; }

}  // namespace

LargeBlockPool::~LargeBlockPool() {
  for (Region &region : regions_) large_block_memory::Release(region.base, region.size);
}

void *LargeBlockPool::Allocate(size_t bytes, bool untouched) {
  if (bytes == 0 || bytes > std::numeric_limits<size_t>::max() / 4) return nullptr;
  const size_t size = RoundUp(bytes, kGrain);
  std::lock_guard<std::mutex> lock(mutex_);
  char *block = nullptr;
  bool warm = false;
  if (!TakeFreeRange(size, &block, &warm) && !TakeFromTop(size, &block, &warm)) return nullptr;
  live_.emplace(block, size);
  live_bytes_ += size;
  peak_live_bytes_ = std::max(peak_live_bytes_, live_bytes_);
  // A block that could not be emptied stays taken (and unused): its pages
  // may be gone.
  if (untouched && warm && !large_block_memory::Discard(block, size)) return nullptr;
  return block;
}

// The smallest free range that holds `size`; its rest stays free.
bool LargeBlockPool::TakeFreeRange(size_t size, char **block, bool *warm) {
  Region *best_region = nullptr;
  std::map<size_t, FreeRange>::iterator best;
  for (Region &region : regions_) {
    for (auto range = region.free.begin(); range != region.free.end(); ++range) {
      if (range->second.bytes >= size && (best_region == nullptr || range->second.bytes < best->second.bytes)) {
        best_region = &region;
        best = range;
      }
    }
  }
  if (best_region == nullptr) return false;
  const size_t offset = best->first;
  const FreeRange range = best->second;
  best_region->free.erase(best);
  if (range.bytes > size) best_region->free.emplace(offset + size, FreeRange{range.bytes - size, range.warm});
  *block = best_region->base + offset;
  *warm = range.warm;
  return true;
}

// Above the highest block of a region with room, committing as needed; a
// new region when none has room.
bool LargeBlockPool::TakeFromTop(size_t size, char **block, bool *warm) {
  Region *region = nullptr;
  for (Region &candidate : regions_) {
    if (candidate.size - candidate.top >= size) region = &candidate;
  }
  if (region == nullptr && (region = AddRegion(size)) == nullptr) return false;
  const size_t end = region->top + size;
  if (end > region->committed) {
    const size_t committed = std::min(RoundUp(end, kCommitStep), region->size);
    if (!large_block_memory::Commit(region->base + region->committed, committed - region->committed)) return false;
    region->committed = committed;
  }
  *block = region->base + region->top;
  *warm = region->top < region->used;
  region->top = end;
  region->used = std::max(region->used, end);
  return true;
}

LargeBlockPool::Region *LargeBlockPool::AddRegion(size_t at_least) {
  const size_t count = span_count_.load(std::memory_order_relaxed);
  if (count == kMaxRegions) return nullptr;
  size_t size = regions_.empty() ? first_region_ : regions_.back().size * 2;
  while (size < at_least) size *= 2;
  char *base = large_block_memory::Reserve(size);
  if (base == nullptr) return nullptr;
  if (regions_.empty()) regions_.reserve(kMaxRegions);  // Regions stay in place
  Region &region = regions_.emplace_back();
  region.base = base;
  region.size = size;
  spans_[count].begin.store(reinterpret_cast<uintptr_t>(base), std::memory_order_relaxed);
  spans_[count].end.store(reinterpret_cast<uintptr_t>(base) + size, std::memory_order_relaxed);
  span_count_.store(count + 1, std::memory_order_release);
  return &region;
}

bool LargeBlockPool::Owns(const void *pointer) const {
  const uintptr_t address = reinterpret_cast<uintptr_t>(pointer);
  const size_t count = span_count_.load(std::memory_order_acquire);
  for (size_t i = 0; i < count; ++i) {
    if (address >= spans_[i].begin.load(std::memory_order_relaxed) &&
        address < spans_[i].end.load(std::memory_order_relaxed)) {
      return true;
    }
  }
  return false;
}

LargeBlockPool::Region &LargeBlockPool::RegionOf(const char *block) {
  for (Region &region : regions_) {
    if (block >= region.base && block < region.base + region.size) return region;
  }
  std::abort();  // Owns said yes
}

bool LargeBlockPool::Free(void *pointer) {
  if (!Owns(pointer)) return false;
  const char *block = static_cast<const char *>(pointer);
  std::lock_guard<std::mutex> lock(mutex_);
  auto live = live_.find(block);
  if (live == live_.end()) {
    std::fprintf(stderr, "kavrel: a large block freed twice or never allocated (%p)\n", pointer);
    std::abort();
  }
  const size_t bytes = live->second;
  live_.erase(live);
  live_bytes_ -= bytes;
  Region &region = RegionOf(block);
  Release(region, static_cast<size_t>(block - region.base), bytes);
  KeepWithinBudget();
  return true;
}

// Joins the range with its free neighbours (the result may hold pages); a
// range that reaches the top lowers it instead.
void LargeBlockPool::Release(Region &region, size_t offset, size_t bytes) {
  auto next = region.free.find(offset + bytes);
  if (next != region.free.end()) {
    bytes += next->second.bytes;
    region.free.erase(next);
  }
  auto previous = region.free.lower_bound(offset);
  if (previous != region.free.begin() &&
      std::prev(previous)->first + std::prev(previous)->second.bytes == offset) {
    --previous;
    offset = previous->first;
    bytes += previous->second.bytes;
    region.free.erase(previous);
  }
  if (offset + bytes == region.top) {
    region.top = offset;
    // The other part of a range split by KeepWithinBudget may lie below.
    auto below = region.free.lower_bound(offset);
    if (below != region.free.begin() && std::prev(below)->first + std::prev(below)->second.bytes == offset) {
      region.top = std::prev(below)->first;
      region.free.erase(std::prev(below));
    }
  } else {
    region.free.emplace(offset, FreeRange{bytes, true});
  }
}

// Free pages beyond the budget go back, from the end of the largest range
// (a region's space above its top, or a free range between blocks), as
// many as are over. The pool then holds no more than it did at its busiest
// (or 64 MB beyond what is live): a conversion's large arrays come in waves
// (the polygon buffer and the welds, later the export's flattened arrays),
// and the next wave finds the last one's pages. A free range may so end in
// a part of its own that holds no pages.
void LargeBlockPool::KeepWithinBudget() {
  const size_t budget = std::max(peak_live_bytes_ - live_bytes_, kKeptAnyway);
  for (;;) {
    size_t kept = 0, largest = 0;
    Region *owner = nullptr;
    std::map<size_t, FreeRange>::iterator range;  // of owner; its end for the space above the top
    for (Region &region : regions_) {
      const size_t above_top = region.used - region.top;
      kept += above_top;
      if (above_top > largest) largest = above_top, owner = &region, range = region.free.end();
      for (auto free = region.free.begin(); free != region.free.end(); ++free) {
        if (!free->second.warm) continue;
        kept += free->second.bytes;
        if (free->second.bytes > largest) largest = free->second.bytes, owner = &region, range = free;
      }
    }
    if (kept <= budget) return;
    const size_t drop = std::min(largest, RoundUp(kept - budget, kGrain));
    const size_t end = range == owner->free.end() ? owner->used : range->first + range->second.bytes;
    if (!large_block_memory::Discard(owner->base + end - drop, drop)) return;
    if (range == owner->free.end()) {
      owner->used -= drop;
    } else if (drop == range->second.bytes) {
      range->second.warm = false;
    } else {
      range->second.bytes -= drop;
      owner->free.emplace(end - drop, FreeRange{drop, false});
    }
  }
}

}  // namespace kavrel
