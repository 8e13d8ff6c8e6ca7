// The process's pool and the per-thread wish for untouched blocks, which
// the process's operator new passes on to it.
#include <atomic>
#include <cstdlib>

#include "kavrel/memory/large_blocks.h"

namespace kavrel {

namespace {
thread_local int untouched_scopes = 0;
std::atomic<bool> serving{true};
}  // namespace

UntouchedBlocks::UntouchedBlocks() { ++untouched_scopes; }
UntouchedBlocks::~UntouchedBlocks() { --untouched_scopes; }
bool UntouchedBlocks::Wanted() { return untouched_scopes > 0; }

void StopServingLargeBlocks() { serving.store(false, std::memory_order_relaxed); }
bool ServingLargeBlocks() { return serving.load(std::memory_order_relaxed); }

LargeBlockPool *ProcessLargeBlocks() {
  static LargeBlockPool *const pool = std::getenv("KAVREL_PLAIN_HEAP") ? nullptr : new LargeBlockPool;
  return pool;
}

}  // namespace kavrel
