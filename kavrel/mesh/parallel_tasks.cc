#include "kavrel/mesh/parallel_tasks.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>
#include <thread>
#include <vector>

namespace kavrel {

void TaskRun::Work() {
  for (size_t i = next_.fetch_add(1); i < count_ && !failed_.load(); i = next_.fetch_add(1)) {
    try {
      task_(i);
    } catch (...) {
      Fail(i, std::current_exception());
    }
  }
}

void TaskRun::RethrowFirstFailure() {
  if (failure_) std::rethrow_exception(failure_);
}

void TaskRun::Fail(size_t i, std::exception_ptr failure) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!failure_ || i < failed_task_) {
    failure_ = failure;
    failed_task_ = i;
  }
  failed_.store(true);
}

size_t TaskThreads() {
  static const size_t threads = [] {
    const char *setting = std::getenv("KAVREL_THREADS");
    const long wanted = setting != nullptr ? std::strtol(setting, nullptr, 10) : 0;
    if (wanted > 0) return static_cast<size_t>(std::min(wanted, 64L));
    return std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 4);
  }();
  return threads;
}

void RunTasks(size_t count, const std::function<void(size_t)> &task) {
  TaskRun run(count, task);
  std::vector<std::thread> helpers;
  const size_t wanted = std::min(TaskThreads(), count) - (count > 0 ? 1 : 0);
  for (size_t t = 0; t < wanted; ++t) {
    try {
      helpers.emplace_back(&TaskRun::Work, &run);
    } catch (const std::system_error &) {
      break;  // no more threads: the ones there (and this one) do the rest
    }
  }
  run.Work();
  for (std::thread &helper : helpers) helper.join();
  run.RethrowFirstFailure();
}

}  // namespace kavrel
