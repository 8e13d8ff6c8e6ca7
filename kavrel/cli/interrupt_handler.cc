#include "kavrel/cli/interrupt_handler.h"

#include <signal.h>
#include <unistd.h>

#include "kavrel/host.h"

namespace kavrel {

namespace {

volatile sig_atomic_t interrupt_count = 0;

const char kFirstNotice[] =
    "\nkavrel-convert: interrupted; stopping after the current shape (Ctrl-C again to quit now)\n";

// Only async-signal-safe calls: RequestAbort sets a flag, write and raise
// are safe by POSIX.
void OnInterrupt(int) {
  interrupt_count = interrupt_count + 1;
  if (interrupt_count == 1) {
    RequestAbort();
    ssize_t ignored = write(STDERR_FILENO, kFirstNotice, sizeof kFirstNotice - 1);
    (void)ignored;
    return;
  }
  // Die of the signal itself, so a calling shell loop stops as well.
  signal(SIGINT, SIG_DFL);
  raise(SIGINT);
}

}  // namespace

void InstallInterruptHandler() {
  struct sigaction action = {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
}

bool Interrupted() { return interrupt_count != 0; }

}  // namespace kavrel
