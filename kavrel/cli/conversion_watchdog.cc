#include "kavrel/cli/conversion_watchdog.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "kavrel/cli/exit_status.h"

namespace kavrel {

double DefaultTimeLimit(uint64_t input_bytes) { return 120.0 + 10.0 * static_cast<double>(input_bytes) / 1e6; }

ConversionWatchdog::ConversionWatchdog(double seconds, const std::string &input) {
  if (!(seconds > 0)) return;
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

void ConversionWatchdog::Watch(double seconds, std::string message) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (stop_.wait_for(lock, std::chrono::duration<double>(seconds), [this] { return stopped_; })) return;
  // The main thread is stuck inside Coin3D: no clean-up can run there, and
  // the export has not started, so leaving at once writes nothing.
  ssize_t ignored = write(STDERR_FILENO, message.data(), message.size());
  (void)ignored;
  _exit(kExitFailed);
}

}  // namespace kavrel
