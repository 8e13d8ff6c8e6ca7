// The large stack as a fiber of the calling thread: the thread becomes a
// fiber for the run (unless the host made it one already) and switches to
// a fiber with the large stack reserved.
#include "scene/large_stack.h"

#include <windows.h>

#include <cstdint>
#include <exception>

namespace {

// Committed at once; the rest of the reservation is committed as it is used.
constexpr SIZE_T kCommittedBytes = 64 * 1024;

struct Run {
  const std::function<void()> *work;
  std::exception_ptr thrown;
  void *caller = nullptr;
  uintptr_t low = 0;  // lowest address of the reservation, once the fiber runs
};

thread_local Run *active = nullptr;

void WINAPI Enter(void *parameter) {
  Run &run = *static_cast<Run *>(parameter);
  run.low = reinterpret_cast<uintptr_t>(__builtin_frame_address(0)) - kConversionStackBytes + kCommittedBytes;
  try {
    (*run.work)();
  } catch (...) {
    run.thrown = std::current_exception();
  }
  SwitchToFiber(run.caller);
}

}  // namespace

bool RunOnLargeStack(const std::function<void()> &work) {
  Run run{&work, nullptr};
  const bool was_fiber = IsThreadAFiber();
  run.caller = was_fiber ? GetCurrentFiber() : ConvertThreadToFiber(nullptr);
  if (!run.caller) return false;
  void *fiber = CreateFiberEx(kCommittedBytes, kConversionStackBytes, FIBER_FLAG_FLOAT_SWITCH, Enter, &run);
  if (fiber) {
    Run *outer = active;
    active = &run;
    SwitchToFiber(fiber);
    active = outer;
    DeleteFiber(fiber);
  }
  if (!was_fiber) ConvertFiberToThread();
  if (!fiber) return false;
  if (run.thrown) std::rethrow_exception(run.thrown);
  return true;
}

size_t LargeStackLeft() {
  if (!active || !active->low) return SIZE_MAX;
  const uintptr_t at = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
  return at > active->low ? at - active->low : 0;
}
