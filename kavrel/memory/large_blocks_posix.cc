#include <sys/mman.h>

#include <cstdint>

#include "kavrel/memory/large_blocks.h"

namespace kavrel {
namespace large_block_memory {

namespace {
constexpr size_t kAlign = size_t{2} << 20;  // of a region's start
}

// Address space only (no commit charge), aligned to 2 MB, so that blocks,
// carved at 64 KB steps, are 64 KB-aligned as on Windows. Not marked for
// transparent huge pages: where the system leaves them to madvise, fresh
// huge pages were measured to cost far more to fault in than 4 KB ones
// (see kavrel/cli/process_memory.h).
char *Reserve(size_t bytes) {
  void *mapping = mmap(nullptr, bytes + kAlign, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (mapping == MAP_FAILED) return nullptr;
  char *start = static_cast<char *>(mapping);
  char *base = reinterpret_cast<char *>((reinterpret_cast<uintptr_t>(start) + kAlign - 1) & ~(kAlign - 1));
  if (base > start) munmap(start, static_cast<size_t>(base - start));
  munmap(base + bytes, static_cast<size_t>(start + kAlign - base));
  return base;
}

// Commit is charged here, so that a system that refuses to overcommit
// refuses now (the request then goes to the heap, which reports it) and
// not later at the first touch.
bool Commit(char *begin, size_t bytes) { return mprotect(begin, bytes, PROT_READ | PROT_WRITE) == 0; }

// The pages go back to the system; the next touch maps a zeroed one.
bool Discard(char *begin, size_t bytes) { return madvise(begin, bytes, MADV_DONTNEED) == 0; }

void Release(char *begin, size_t bytes) { munmap(begin, bytes); }

}  // namespace large_block_memory
}  // namespace kavrel
