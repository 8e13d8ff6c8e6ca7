#include "plugin/large_stack.h"

#include <pthread.h>

#include <exception>

namespace {

struct Job {
  const std::function<void()> *work;
  std::exception_ptr thrown;
};

void *RunJob(void *argument) {
  Job *job = static_cast<Job *>(argument);
  try {
    (*job->work)();
  } catch (...) {
    job->thrown = std::current_exception();
  }
  return nullptr;
}

bool StartThread(pthread_t *thread, Job *job) {
  pthread_attr_t attributes;
  if (pthread_attr_init(&attributes) != 0) return false;
  const bool started = pthread_attr_setstacksize(&attributes, kConversionStackBytes) == 0 &&
                       pthread_create(thread, &attributes, RunJob, job) == 0;
  pthread_attr_destroy(&attributes);
  return started;
}

}  // namespace

void RunOnLargeStack(const std::function<void()> &work) {
  Job job{&work, nullptr};
  pthread_t thread;
  if (!StartThread(&thread, &job)) {
    work();
    return;
  }
  pthread_join(thread, nullptr);
  if (job.thrown) std::rethrow_exception(job.thrown);
}
