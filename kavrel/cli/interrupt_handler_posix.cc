#include "kavrel/cli/interrupt_handler.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>

#include "kavrel/image/run_files.h"

namespace kavrel {

namespace {

// Counted in the handler and read on other threads (the watchdog, the
// plug-in's abort poll): a lock-free atomic is async-signal-safe.
std::atomic<int> interrupt_count{0};
static_assert(std::atomic<int>::is_always_lock_free, "the interrupt count must be signal-safe");

const char kFirstNotice[] =
    "\nkavrel-convert: interrupted; stopping after the current shape (Ctrl-C again to quit now)\n";

// Leaves no temporary file and no image of the unfinished run behind, then
// dies of the signal itself, so a calling shell loop stops as well.
void DieOf(int signal_number) {
  RemoveRunFilesBeforeExit();
  signal(signal_number, SIG_DFL);
  raise(signal_number);
}

void OnTermination(int signal_number) { DieOf(signal_number); }

// Only async-signal-safe calls: write, unlink, rmdir and raise are safe by
// POSIX. The host's abort poll reads the count.
void OnInterrupt(int) {
  if (interrupt_count.fetch_add(1) == 0) {
    ssize_t ignored = write(STDERR_FILENO, kFirstNotice, sizeof kFirstNotice - 1);
    (void)ignored;
    return;
  }
  DieOf(SIGINT);
}

}  // namespace

void InstallInterruptHandler() {
  struct sigaction action = {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
  action.sa_handler = OnTermination;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
}

bool Interrupted() { return interrupt_count.load() != 0; }

}  // namespace kavrel
