#include "kavrel/toolkit/mesh_queue.h"

#include <system_error>
#include <utility>

#include "kavrel/mesh/parallel_tasks.h"

namespace kavrel {

namespace {

// Work handed on to a sleeping thread waits for this many before the
// thread is woken: a wake is a system call on both sides, and 20,000 small
// shapes hand on three works each.
constexpr size_t kWakeBatch = 16;

}  // namespace

MeshQueue::~MeshQueue() {
  try {
    Settle();
  } catch (...) {
    // Nobody is left to tell: the scene goes with the Host.
  }
  if (!thread_.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ending_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void MeshQueue::Post(std::function<void()> work) {
  if (!started_) {
    started_ = true;
    try {
      if (TaskThreads() > 1) thread_ = std::thread(&MeshQueue::Serve, this);
    } catch (const std::system_error &) {
      // No thread: the work runs on the caller's.
    }
  }
  if (!thread_.joinable()) return work();
  posted_ = true;
  bool wake = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    work_.push_back(std::move(work));
    wake = sleeping_ && work_.size() >= kWakeBatch;
  }
  // A thread that is running works through what arrives without a signal;
  // a sleeping one is woken for a batch (or by Settle), not for each work.
  if (wake) wake_.notify_one();
}

void MeshQueue::Settle() {
  if (!posted_) return;  // the common case, asked at nearly every call: no lock
  posted_ = false;
  std::unique_lock<std::mutex> lock(mutex_);
  settling_ = true;
  if (sleeping_ && !work_.empty()) wake_.notify_one();
  idle_.wait(lock, [this] { return work_.empty() && !busy_; });
  settling_ = false;
  if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

void MeshQueue::Serve() {
  std::deque<std::function<void()>> batch;
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    sleeping_ = true;
    wake_.wait(lock, [this] { return ending_ || !work_.empty(); });
    sleeping_ = false;
    if (work_.empty()) return;  // ending, nothing left
    // All that has arrived, run without the lock.
    batch.swap(work_);
    busy_ = true;
    lock.unlock();
    std::exception_ptr failure = RunAll(batch);
    lock.lock();
    busy_ = false;
    if (failure && !failure_) failure_ = failure;
    if (work_.empty() && settling_) idle_.notify_one();
  }
}

// The work in order, each dropped once it ran (what it held is freed off
// the caller's thread); the first failure.
std::exception_ptr MeshQueue::RunAll(std::deque<std::function<void()>> &batch) {
  std::exception_ptr first;
  for (; !batch.empty(); batch.pop_front()) {
    try {
      batch.front()();
    } catch (...) {
      if (!first) first = std::current_exception();
    }
  }
  return first;
}

}  // namespace kavrel
