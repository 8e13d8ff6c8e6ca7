#include "kavrel/image/stop_signals.h"

#include <signal.h>

#include <initializer_list>

namespace kavrel {
namespace {

thread_local sigset_t held_from;  // the thread's mask before HoldStopSignals

}  // namespace

void HoldStopSignals() {
  sigset_t stop;
  sigemptyset(&stop);
  for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&stop, s);
  pthread_sigmask(SIG_BLOCK, &stop, &held_from);
}

void ReleaseStopSignals() { pthread_sigmask(SIG_SETMASK, &held_from, nullptr); }

}  // namespace kavrel
