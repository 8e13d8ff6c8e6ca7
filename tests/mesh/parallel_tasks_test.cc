// Tasks on several threads: each runs once, and a failure reaches the
// caller as the same exception whatever the timing.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "kavrel/mesh/parallel_tasks.h"

namespace {

TEST(RunTasks, EveryTaskRunsOnce) {
  std::vector<std::atomic<int>> runs(5000);
  kavrel::RunTasks(runs.size(), [&](size_t i) { ++runs[i]; });
  size_t wrong = 0;
  for (const auto &count : runs) wrong += count.load() != 1;
  EXPECT_EQ(wrong, 0u);
  kavrel::RunTasks(0, [](size_t) { FAIL() << "no task to run"; });
}

// Two threads of the test's own share the tasks. Whichever takes task 3
// holds it until the other has failed at task 7 and given up (returned
// from Work); only then does task 3 fail. So the higher task's failure is
// always the one recorded first, and the caller must still hear of task 3.
TEST(TaskRun, TheLowestFailureWinsThoughAHigherOneCameFirst) {
  std::mutex mutex;
  std::condition_variable changed;
  int returned = 0;                            // threads back from Work
  const auto task = [&](size_t i) {
    if (i == 7) throw std::runtime_error("task 7");
    if (i != 3) return;
    std::unique_lock<std::mutex> lock(mutex);
    if (!changed.wait_for(lock, std::chrono::seconds(60), [&] { return returned == 1; })) {
      throw std::runtime_error("task 3 waited in vain for the other thread");
    }
    throw std::runtime_error("task 3");
  };
  kavrel::TaskRun run(8, task);
  const auto work = [&] {
    run.Work();
    std::lock_guard<std::mutex> lock(mutex);
    ++returned;
    changed.notify_all();
  };
  std::thread helper(work);
  work();
  helper.join();
  try {
    run.RethrowFirstFailure();
    ADD_FAILURE() << "no exception";
  } catch (const std::runtime_error &e) {
    EXPECT_EQ(std::string(e.what()), "task 3");
  }
}

}  // namespace
