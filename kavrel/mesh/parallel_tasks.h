// Independent tasks on both cores (or more): the host's mesh work is
// driven by one thread, the plug-in's, and the machine has a second core
// idle. Each task writes only its own results, so the output is the same
// whatever the timing; only where the work runs changes.
#ifndef KAVREL_MESH_PARALLEL_TASKS_H
#define KAVREL_MESH_PARALLEL_TASKS_H

#include <cstddef>
#include <functional>

namespace kavrel {

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
