// The run's file list is shared with signal handlers and the watchdog
// thread: it is guarded by a spin lock, and a thread that holds the lock
// has the stop signals blocked, so a handler never waits for its own thread.
#include "kavrel/image/run_files.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <vector>

#include "common/replacing_file.h"
#include "kavrel/image/stop_signals.h"

namespace kavrel {
namespace {

enum class Kind { kTemporary, kMade, kDirectory };

struct Entry {
  std::string path;
  Kind kind;
};

std::vector<Entry> entries;
std::atomic_flag busy = ATOMIC_FLAG_INIT;
std::atomic<bool> closing{false};              // a clean-up before exit has begun

void Acquire() {
  while (busy.test_and_set(std::memory_order_acquire)) {
  }
}

void Release() { busy.clear(std::memory_order_release); }

// Holds the lock with the stop signals held back in this thread.
class ListLock {
 public:
  ListLock() {
    HoldStopSignals();
    Acquire();
  }
  ~ListLock() {
    Release();
    ReleaseStopSignals();
  }
  ListLock(const ListLock &) = delete;
  ListLock &operator=(const ListLock &) = delete;
};

void Erase(const std::string &path, Kind kind) {
  for (auto it = entries.begin(); it != entries.end(); ++it) {
    if (it->kind == kind && it->path == path) {
      entries.erase(it);
      return;
    }
  }
}

// Only unlink and rmdir: safe in a signal handler. Directories last, newest
// first, so a directory made inside another goes before it.
void DeleteEntries(bool files) {
  if (files) {
    for (const Entry &entry : entries) {
      if (entry.kind != Kind::kDirectory) unlink(entry.path.c_str());
    }
  }
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    if (it->kind == Kind::kDirectory) rmdir(it->path.c_str());
  }
}

void EndRun(bool keep_files) {
  ListLock lock;
  DeleteEntries(!keep_files);
  entries.clear();
}

}  // namespace

void NoteTemporaryFile(const std::string &path) {
  ListLock lock;
  entries.push_back({path, Kind::kTemporary});
}

void ForgetTemporaryFile(const std::string &path) {
  ListLock lock;
  Erase(path, Kind::kTemporary);
}

bool MoveTemporaryIntoPlace(const std::string &temporary, const std::string &target, bool keep_as_run_file) {
  ListLock lock;
  bool moved = false;
  int saved = EINTR;
  if (!closing.load()) {
    moved = common::MoveOverTarget(temporary, target);
    saved = errno;
  }
  if (!moved) unlink(temporary.c_str());
  Erase(temporary, Kind::kTemporary);
  if (moved && keep_as_run_file) entries.push_back({target, Kind::kMade});
  errno = saved;
  return moved;
}

void NoteRunDirectory(const std::string &path) {
  ListLock lock;
  entries.push_back({path, Kind::kDirectory});
}

bool IsRunFile(const std::string &path) {
  ListLock lock;
  for (const Entry &entry : entries) {
    if (entry.kind == Kind::kMade && entry.path == path) return true;
  }
  return false;
}

void KeepRunFiles() { EndRun(true); }

void RemoveRunFiles() { EndRun(false); }

void RemoveRunFilesBeforeExit() {
  closing.store(true);
  Acquire();
  DeleteEntries(true);
  Release();
}

}  // namespace kavrel
