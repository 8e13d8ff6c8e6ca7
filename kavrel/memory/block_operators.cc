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

#ifdef _WIN32
namespace {
// Windows has no definitions to pass on to: the C library's heap.
void *NextNew(std::size_t bytes, bool) {
  for (;;) {
    if (void *block = std::malloc(bytes == 0 ? 1 : bytes)) return block;
    std::new_handler handler = std::get_new_handler();
    if (handler == nullptr) throw std::bad_alloc();
    handler();
  }
}
void NextDelete(void *block, bool) noexcept { std::free(block); }
}  // namespace
#else
#include <dlfcn.h>

namespace {
using NewFunction = void *(*)(std::size_t);
using DeleteFunction = void (*)(void *);

template <typename Function>
Function Next(const char *name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

void *NextNew(std::size_t bytes, bool array) {
  static const NewFunction single = Next<NewFunction>("_Znwm"), multiple = Next<NewFunction>("_Znam");
  return (array ? multiple : single)(bytes);
}

void NextDelete(void *block, bool array) noexcept {
  static const DeleteFunction single = Next<DeleteFunction>("_ZdlPv"), multiple = Next<DeleteFunction>("_ZdaPv");
  (array ? multiple : single)(block);
}
}  // namespace
#endif

namespace {

void *AllocateBlock(std::size_t bytes, bool array) {
  if (bytes >= kavrel::kLargeBlockBytes) {
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
