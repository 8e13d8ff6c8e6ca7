#include <windows.h>

#include "kavrel/memory/large_blocks.h"

namespace kavrel {
namespace large_block_memory {

char *Reserve(size_t bytes) {
  return static_cast<char *>(VirtualAlloc(nullptr, bytes, MEM_RESERVE, PAGE_NOACCESS));
}

bool Commit(char *begin, size_t bytes) { return VirtualAlloc(begin, bytes, MEM_COMMIT, PAGE_READWRITE) != nullptr; }

// Decommitted and committed again: zeroed pages that hold no memory yet.
bool Discard(char *begin, size_t bytes) {
  return VirtualFree(begin, bytes, MEM_DECOMMIT) && VirtualAlloc(begin, bytes, MEM_COMMIT, PAGE_READWRITE) != nullptr;
}

void Release(char *begin, size_t) { VirtualFree(begin, 0, MEM_RELEASE); }

}  // namespace large_block_memory
}  // namespace kavrel
