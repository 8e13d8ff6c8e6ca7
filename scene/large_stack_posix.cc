// The large stack as a context of the calling thread: mapped memory with a
// guard page below it, entered with getcontext and setcontext and left with
// setcontext. (swapcontext would do the same, but AddressSanitizer's wrapper
// of it prints a warning into every sanitized run's error output.)
#include "scene/large_stack.h"

#include <sys/mman.h>
#include <ucontext.h>
#include <unistd.h>

#include <cstdint>
#include <exception>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#define KAVREL_ASAN_FIBERS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/common_interface_defs.h>
#define KAVREL_ASAN_FIBERS 1
#endif
#endif

namespace {

// AddressSanitizer keeps its own picture of the current stack; every switch
// is announced to it, or an exception thrown on the large stack would make
// it clear shadow memory of the wrong stack.
#ifdef KAVREL_ASAN_FIBERS
void StartSwitch(void **fake_stack, const void *bottom, size_t size) {
  __sanitizer_start_switch_fiber(fake_stack, bottom, size);
}
void FinishSwitch(void *fake_stack, const void **bottom, size_t *size) {
  __sanitizer_finish_switch_fiber(fake_stack, bottom, size);
}
#else
void StartSwitch(void **, const void *, size_t) {}
void FinishSwitch(void *, const void **, size_t *) {}
#endif

struct Stack {
  char *mapping = nullptr;  // guard page, then the stack
  size_t guard = 0;
  char *low() const { return mapping + guard; }
};

struct Run {
  const std::function<void()> *work;
  std::exception_ptr thrown;
  Stack stack;
  ucontext_t caller, worker;
  const void *caller_bottom = nullptr;
  size_t caller_size = 0;
};

thread_local Run *active = nullptr;

// Saves the current context in *from and continues in *to; returns when
// something later continues in *from.
void SwitchContext(ucontext_t *from, const ucontext_t *to) {
  volatile bool resumed = false;
  getcontext(from);
  if (resumed) return;
  resumed = true;
  setcontext(to);
}

bool MapStack(Stack *stack) {
  stack->guard = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  void *mapping = mmap(nullptr, kConversionStackBytes + stack->guard, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE | MAP_STACK, -1, 0);
  if (mapping == MAP_FAILED) return false;
  stack->mapping = static_cast<char *>(mapping);
  // An overflow meets a page that faults instead of memory below the stack.
  mprotect(stack->mapping, stack->guard, PROT_NONE);
  return true;
}

void Enter() {
  Run &run = *active;
  FinishSwitch(nullptr, &run.caller_bottom, &run.caller_size);
  try {
    (*run.work)();
  } catch (...) {
    run.thrown = std::current_exception();
  }
  // Nothing of this stack is used again: its fake frames may go.
  StartSwitch(nullptr, run.caller_bottom, run.caller_size);
  setcontext(&run.caller);
}

}  // namespace

bool RunOnLargeStack(const std::function<void()> &work) {
  Run run{&work, nullptr, {}, {}, {}};
  if (!MapStack(&run.stack) || getcontext(&run.worker) != 0) {
    if (run.stack.mapping) munmap(run.stack.mapping, kConversionStackBytes + run.stack.guard);
    return false;
  }
  run.worker.uc_stack.ss_sp = run.stack.low();
  run.worker.uc_stack.ss_size = kConversionStackBytes;
  run.worker.uc_link = &run.caller;
  makecontext(&run.worker, Enter, 0);
  Run *outer = active;
  active = &run;
  void *fake_stack = nullptr;
  StartSwitch(&fake_stack, run.stack.low(), kConversionStackBytes);
  SwitchContext(&run.caller, &run.worker);
  FinishSwitch(fake_stack, nullptr, nullptr);
  active = outer;
  munmap(run.stack.mapping, kConversionStackBytes + run.stack.guard);
  if (run.thrown) std::rethrow_exception(run.thrown);
  return true;
}

size_t LargeStackLeft() {
  if (!active) return SIZE_MAX;
  const uintptr_t at = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
  const uintptr_t low = reinterpret_cast<uintptr_t>(active->stack.low());
  return at > low ? at - low : 0;
}
