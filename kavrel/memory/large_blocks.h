// Memory for the host's large arrays: the per-corner streams of a mesh, the
// welds' cell tables, the flattened vertex arrays of the export. Each lives
// for one step of a conversion and the next step asks for about as much
// again. Taken from the system and given back every time, each of their
// pages is faulted in anew, and on a virtual machine that costs more than
// writing the array; here freed blocks are kept, joined with their free
// neighbours, and handed out again. kavrel-convert uses the pool on
// Windows (see kavrel/cli/process_memory.h).
#ifndef KAVREL_MEMORY_LARGE_BLOCKS_H
#define KAVREL_MEMORY_LARGE_BLOCKS_H

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <vector>

namespace kavrel {

// Requests from this size on are served by the pool; smaller ones are left
// to the C library's heap.
constexpr size_t kLargeBlockBytes = size_t{1} << 20;

// Large blocks carved from address space reserved a region at a time (the
// first 4 GB, each next one twice the last) and committed as the highest
// block grows. A request takes the smallest free range that holds it, else
// the top of a region. Freed pages are kept for the next blocks as long as
// the pool holds no more than its live blocks did at their peak (or 64 MB
// beyond what is live); those beyond go back to the system, from the end
// of the largest free range. Thread-safe.
class LargeBlockPool {
 public:
  // The first region reserves first_region bytes of address space.
  explicit LargeBlockPool(size_t first_region = size_t{4} << 30) : first_region_(first_region) {}
  ~LargeBlockPool();
  LargeBlockPool(const LargeBlockPool &) = delete;
  LargeBlockPool &operator=(const LargeBlockPool &) = delete;

  // A block of at least `bytes`, aligned to 64 KB; nullptr when no address
  // space or commit is left (the caller then asks the heap). An untouched
  // block holds no pages yet, wherever it lies: see UntouchedBlocks.
  void *Allocate(size_t bytes, bool untouched = false);
  // Takes back a block of Allocate. False, and nothing done, for a pointer
  // outside the pool's regions, so that a caller can pass on what is not
  // the pool's; a pointer inside that is not a live block aborts.
  bool Free(void *block);
  // Whether `pointer` lies in one of the pool's regions. Lock-free.
  bool Owns(const void *pointer) const;

 private:
  struct FreeRange {
    size_t bytes;
    bool warm;                          // may hold pages (else zeros never touched since)
  };
  struct Region {
    char *base = nullptr;
    size_t size = 0;                    // reserved
    size_t committed = 0;               // from base
    size_t top = 0;                     // above every block and free range
    size_t used = 0;                    // pages from top up to here may be held
    std::map<size_t, FreeRange> free;   // by offset; none touching top; neighbours
                                        // only where one part holds pages and one none
  };
  struct Span {
    std::atomic<uintptr_t> begin{0}, end{0};
  };
  static constexpr size_t kMaxRegions = 24;

  bool TakeFreeRange(size_t size, char **block, bool *warm);
  bool TakeFromTop(size_t size, char **block, bool *warm);
  void Release(Region &region, size_t offset, size_t bytes);
  void KeepWithinBudget();
  Region *AddRegion(size_t at_least);
  Region &RegionOf(const char *block);

  const size_t first_region_;
  std::mutex mutex_;
  std::vector<Region> regions_;
  std::map<const char *, size_t> live_;  // block -> bytes
  size_t live_bytes_ = 0;
  size_t peak_live_bytes_ = 0;
  std::array<Span, kMaxRegions> spans_;
  std::atomic<size_t> span_count_{0};
};

// While one lives, the blocks the thread's operator new takes from the
// process's pool hold no pages at first, as freshly mapped memory does: for
// arrays reserved for the worst case (an entry per corner where most
// meshes need one per sixth), whose unused end should cost nothing. A
// reused range would otherwise keep its pages for the whole array.
class UntouchedBlocks {
 public:
  UntouchedBlocks();
  ~UntouchedBlocks();
  UntouchedBlocks(const UntouchedBlocks &) = delete;
  UntouchedBlocks &operator=(const UntouchedBlocks &) = delete;

  static bool Wanted();  // by this thread, now
};

// The process's pool, used by kavrel-convert's operator new; never
// destroyed, as blocks may be freed during static destruction. Null when
// KAVREL_PLAIN_HEAP is set in the environment: every block then comes from
// the heap, for tools that track the heap's blocks (and for comparisons).
LargeBlockPool *ProcessLargeBlocks();

// Whether operator new takes new large blocks from the process's pool: yes
// until the process says otherwise, which kavrel-convert does on Linux
// (see kavrel/cli/process_memory.h).
// Blocks already taken still go back to the pool.
void StopServingLargeBlocks();
bool ServingLargeBlocks();

// Reserving and committing address space: the platform's part.
namespace large_block_memory {
char *Reserve(size_t bytes);                   // nullptr when refused
bool Commit(char *begin, size_t bytes);        // inside a reservation
bool Discard(char *begin, size_t bytes);       // committed pages back to untouched zeros
void Release(char *begin, size_t bytes);       // a whole reservation
}  // namespace large_block_memory

}  // namespace kavrel

#endif
