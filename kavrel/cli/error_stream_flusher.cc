#include "kavrel/cli/error_stream_flusher.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

namespace kavrel {

namespace {

constexpr std::chrono::milliseconds kFlushDelay{100};
constexpr size_t kBufferBytes = size_t{1} << 16;

// Wakes every kFlushDelay and flushes when lines were written since; the
// writers only set a flag, so a line costs no system call.
class Flusher {
 public:
  Flusher() : thread_(&Flusher::Run, this) {}
  Flusher(const Flusher &) = delete;
  Flusher &operator=(const Flusher &) = delete;
  ~Flusher() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopped_ = true;
    }
    wake_.notify_one();
    thread_.join();
  }

  void Pending() { pending_.store(true, std::memory_order_relaxed); }

 private:
  void Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!wake_.wait_for(lock, kFlushDelay, [this] { return stopped_; }))
      if (pending_.exchange(false, std::memory_order_relaxed)) std::fflush(stderr);
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopped_ = false;
  std::atomic<bool> pending_{false};
  std::thread thread_;  // last: it starts once the rest is made
};

bool buffered = false;

}  // namespace

void BufferErrorStream() { buffered = std::setvbuf(stderr, nullptr, _IOFBF, kBufferBytes) == 0; }

void ErrorLineWritten() {
  if (!buffered) return;
  // Made on the first line; stopped (and the lines it still holds left to
  // the exit's flush) when the process ends.
  static Flusher flusher;
  flusher.Pending();
}

}  // namespace kavrel
