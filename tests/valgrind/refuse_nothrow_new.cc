// Preloaded into kavrel-convert by the valgrind test: from the Nth call on
// (KAVREL_REFUSE_NOTHROW_NEW=N), operator new(nothrow) answers null, as it
// does when the heap is exhausted. The plug-in meets that with a fatal
// (level 5) out-of-memory report, which aborts its run.
#include <atomic>
#include <cstdlib>
#include <new>

namespace {

long RefuseFrom() {
  const char *value = std::getenv("KAVREL_REFUSE_NOTHROW_NEW");
  return value ? std::atol(value) : 0;
}

std::atomic<long> calls{0};

}  // namespace

void *operator new(std::size_t size, const std::nothrow_t &) noexcept {
  static const long refuse_from = RefuseFrom();
  if (refuse_from > 0 && ++calls >= refuse_from) return nullptr;
  try {
    return ::operator new(size);
  } catch (const std::bad_alloc &) {
    return nullptr;
  }
}
