// The process's operator new and delete: large requests from the process's
// large-block pool, the rest passed on to the definitions they replace (the
// C++ library's, or those of a tool loaded before it, such as valgrind's),
// so that those still pair every new with its delete. Linked into
// kavrel-convert, whose definitions every library in the process then uses
// (Coin3D, the plug-in, the host). The nothrow and aligned forms stay the
// C++ library's own, which call these or keep to their own heap.
// Sanitizer builds keep their runtime's allocator, which checks every block.
#include <cstdlib>
#include <new>

#ifndef _WIN32
#include <dlfcn.h>
#endif

#include "kavrel/memory/large_blocks.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define KAVREL_SANITIZED_HEAP 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define KAVREL_SANITIZED_HEAP 1
#endif

#ifndef KAVREL_SANITIZED_HEAP

namespace {

using NewFunction = void *(*)(std::size_t);
using DeleteFunction = void (*)(void *);

// The C library's heap, with the new-handler loop operator new promises.
void *HeapNew(std::size_t bytes) {
  for (;;) {
    if (void *block = std::malloc(bytes == 0 ? 1 : bytes)) return block;
    std::new_handler handler = std::get_new_handler();
    if (handler == nullptr) throw std::bad_alloc();
    handler();
  }
}

void HeapDelete(void *block) noexcept { std::free(block); }

#ifdef _WIN32
// A Windows module has no definitions after its own to pass on to.
void *NextNew(std::size_t bytes, bool) { return HeapNew(bytes); }
void NextDelete(void *block, bool) noexcept { HeapDelete(block); }
#else
template <typename Function>
Function Next(const char *name, Function otherwise) {
  void *found = dlsym(RTLD_NEXT, name);
  return found != nullptr ? reinterpret_cast<Function>(found) : otherwise;
}

void *NextNew(std::size_t bytes, bool array) {
  static const NewFunction single = Next<NewFunction>("_Znwm", HeapNew);
  static const NewFunction multiple = Next<NewFunction>("_Znam", HeapNew);
  return (array ? multiple : single)(bytes);
}

void NextDelete(void *block, bool array) noexcept {
  static const DeleteFunction single = Next<DeleteFunction>("_ZdlPv", HeapDelete);
  static const DeleteFunction multiple = Next<DeleteFunction>("_ZdaPv", HeapDelete);
  (array ? multiple : single)(block);
}
#endif

void *AllocateBlock(std::size_t bytes, bool array) {
  if (bytes >= kavrel::kLargeBlockBytes && kavrel::ServingLargeBlocks()) {
    if (kavrel::LargeBlockPool *pool = kavrel::ProcessLargeBlocks()) {
      if (void *block = pool->Allocate(bytes, kavrel::UntouchedBlocks::Wanted())) return block;
    }
  }
  return NextNew(bytes, array);
}

void FreeBlock(void *block, bool array) noexcept {
  if (block == nullptr) return;
  kavrel::LargeBlockPool *pool = kavrel::ProcessLargeBlocks();
  if (pool == nullptr || !pool->Free(block)) NextDelete(block, array);
}

}  // namespace

void *operator new(std::size_t bytes) { return AllocateBlock(bytes, false); }
void *operator new[](std::size_t bytes) { return AllocateBlock(bytes, true); }
void operator delete(void *block) noexcept { FreeBlock(block, false); }
void operator delete[](void *block) noexcept { FreeBlock(block, true); }
void operator delete(void *block, std::size_t) noexcept { FreeBlock(block, false); }
void operator delete[](void *block, std::size_t) noexcept { FreeBlock(block, true); }

#endif
