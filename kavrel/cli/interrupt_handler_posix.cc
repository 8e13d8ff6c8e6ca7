#include "kavrel/cli/interrupt_handler.h"

#include <signal.h>
#include <unistd.h>

#include "kavrel/host.h"
#include "kavrel/image/run_files.h"

namespace kavrel {

namespace {

volatile sig_atomic_t interrupt_count = 0;

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

// Only async-signal-safe calls: RequestAbort sets a flag, write, unlink,
// rmdir and raise are safe by POSIX.
void OnInterrupt(int) {
  interrupt_count = interrupt_count + 1;
  if (interrupt_count == 1) {
    RequestAbort();
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

bool Interrupted() { return interrupt_count != 0; }

}  // namespace kavrel
