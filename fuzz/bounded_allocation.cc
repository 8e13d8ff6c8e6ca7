// Allocations the conversion fuzzer bounds. A binary Inventor file declares
// the size of every array and Coin3D allocates that much before it reads a
// value: under AddressSanitizer a few mutated bytes would cost gigabytes and
// minutes. Above 256 MB the sanitizer's malloc answers null here (the
// options below), and operator new turns that into std::bad_alloc, as an
// exhausted machine would; the conversion ends with "Conversion stopped".
// (The sanitizer's own operator new reports an out-of-memory error instead.)
#include <cstdlib>
#include <new>

extern "C" const char *__asan_default_options() { return "allocator_may_return_null=1:max_allocation_size_mb=256"; }

namespace {

void *Allocate(std::size_t size) {
  if (void *memory = std::malloc(size ? size : 1)) return memory;
  throw std::bad_alloc();
}

}  // namespace

void *operator new(std::size_t size) { return Allocate(size); }
void *operator new[](std::size_t size) { return Allocate(size); }
void *operator new(std::size_t size, const std::nothrow_t &) noexcept { return std::malloc(size ? size : 1); }
void *operator new[](std::size_t size, const std::nothrow_t &) noexcept { return std::malloc(size ? size : 1); }
void operator delete(void *memory) noexcept { std::free(memory); }
void operator delete[](void *memory) noexcept { std::free(memory); }
void operator delete(void *memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void *memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void *memory, const std::nothrow_t &) noexcept { std::free(memory); }
void operator delete[](void *memory, const std::nothrow_t &) noexcept { std::free(memory); }
