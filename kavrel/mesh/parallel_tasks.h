// Independent tasks on both cores (or more): the host's mesh work is
// driven by one thread, the plug-in's, and the machine has a second core
// idle. Each task writes only its own results, so the output is the same
// whatever the timing; only where the work runs changes.
#ifndef KAVREL_MESH_PARALLEL_TASKS_H
#define KAVREL_MESH_PARALLEL_TASKS_H

#include <atomic>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>

namespace kavrel {

// One set of tasks that any number of threads work through together, each
// task run once, taken in index order. RunTasks is made of it; a caller
// that brings threads of its own (a test that must order them) uses it
// directly.
class TaskRun {
 public:
  TaskRun(size_t count, const std::function<void(size_t)> &task) : count_(count), task_(task) {}
  TaskRun(const TaskRun &) = delete;
  TaskRun &operator=(const TaskRun &) = delete;

  // Takes tasks until none are left or one has failed; then returns. A
  // failure is kept, not thrown: a task already taken still runs to its
  // end, so every task numbered below a failure has run by the time the
  // last thread returns from here.
  void Work();

  // After every thread has returned from Work: throws the exception of the
  // lowest-numbered failing task, if any.
  void RethrowFirstFailure();

 private:
  void Fail(size_t i, std::exception_ptr failure);

  const size_t count_;
  const std::function<void(size_t)> task_;
  std::atomic<size_t> next_{0};
  std::atomic<bool> failed_{false};
  std::mutex mutex_;
  std::exception_ptr failure_;
  size_t failed_task_ = 0;
};

// Runs task(0) .. task(count - 1), each once, on the calling thread and up
// to TaskThreads() - 1 helper threads, taking tasks in index order, and
// returns when all have run. When a task throws, the tasks not yet started
// are skipped and the exception of the lowest-numbered failing task is
// thrown here, after every thread has stopped. When no thread can be
// started, the calling thread runs them all.
void RunTasks(size_t count, const std::function<void(size_t)> &task);

// Threads RunTasks uses: KAVREL_THREADS from the environment when it is a
// positive number (at most 64), else the processor count, at most 4 (the
// tasks are memory-bound; more cores gain little).
size_t TaskThreads();

}  // namespace kavrel

#endif
