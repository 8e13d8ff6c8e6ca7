#include "kavrel/cli/process_memory.h"

#include <malloc.h>

#include <cstdlib>

#include "kavrel/memory/large_blocks.h"

namespace kavrel {

void TuneProcessMemory() {
  if (std::getenv("KAVREL_LARGE_BLOCK_POOL") == nullptr) StopServingLargeBlocks();
  // Arrays of a megabyte and more get mappings of their own, given back
  // when freed: kept in the heap, a growing array leaves holes that later
  // ones do not fit, and the peak grew by up to half again for meshes of a
  // few hundred thousand triangles. A fixed threshold also stops glibc from
  // raising it after the first large free, which would bring the holes
  // back. Small blocks stay in the heap, which grows and shrinks in steps
  // of 16 MB, not page by page.
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
  mallopt(M_TOP_PAD, 16 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
}

}  // namespace kavrel
