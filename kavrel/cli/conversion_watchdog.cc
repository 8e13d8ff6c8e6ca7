#include "kavrel/cli/conversion_watchdog.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "kavrel/cli/console_reports.h"
#include "kavrel/cli/exit_status.h"
#include "kavrel/cli/interrupt_handler.h"
#include "kavrel/image/run_files.h"

namespace kavrel {

double DefaultTimeLimit(uint64_t input_bytes) { return 120.0 + 10.0 * static_cast<double>(input_bytes) / 1e6; }

ConversionWatchdog::ConversionWatchdog(double seconds, const std::string &input)
    : interrupt_message_("kavrel-convert: interrupted; the conversion of '" + input +
                         "' did not stop (Coin3D's reader cannot be interrupted); nothing written\n") {
  char limit[32];
  std::snprintf(limit, sizeof limit, seconds < 10 ? "%g" : "%.0f", seconds);
  std::string message = "kavrel-convert: giving up on '" + input + "' after " + limit +
                        " s (a damaged file can keep Coin3D reading forever; --time-limit sets the limit); "
                        "nothing written\n";
  thread_ = std::thread(&ConversionWatchdog::Watch, this, seconds, std::move(message));
}

ConversionWatchdog::~ConversionWatchdog() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopped_ = true;
  }
  stop_.notify_one();
  thread_.join();
}

// The conversion is stuck inside Coin3D: no clean-up can run there, and
// the export has not started, so leaving at once, with the run's files
// deleted from here, writes nothing.
[[noreturn]] void ConversionWatchdog::GiveUp(const std::string &message) {
  RemoveRunFilesBeforeExit();
  WritePendingProgress();
  ssize_t ignored = write(STDERR_FILENO, message.data(), message.size());
  (void)ignored;
  _exit(kExitFailed);
}

void ConversionWatchdog::Watch(double seconds, std::string message) {
  using Clock = std::chrono::steady_clock;
  const bool limited = seconds > 0;
  const Clock::time_point end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                                   std::chrono::duration<double>(limited ? seconds : 0));
  Clock::time_point interrupted_at{};
  std::unique_lock<std::mutex> lock(mutex_);
  // A Ctrl-C cannot wake a condition variable (a signal handler may not
  // notify one): the watch looks at it between short waits, and writes
  // the progress lines held back meanwhile.
  while (!stop_.wait_for(lock, kInterruptPoll, [this] { return stopped_; })) {
    WritePendingProgress();
    const Clock::time_point now = Clock::now();
    if (limited && now >= end) GiveUp(message);
    if (!Interrupted()) continue;
    if (interrupted_at == Clock::time_point{}) interrupted_at = now;
    if (now - interrupted_at >= kInterruptGrace) GiveUp(interrupt_message_);
  }
}

}  // namespace kavrel
