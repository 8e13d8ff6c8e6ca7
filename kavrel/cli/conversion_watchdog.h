// A time limit on one conversion. Coin3D can loop forever on a damaged
// binary file (an array count above 2^30 makes its allocation loop double
// an int until it wraps to 0), and while it reads, nothing that the
// plug-in polls for an abort runs: only the process can give up, at the
// time limit or when a Ctrl-C's abort request is not honoured in time.
#ifndef KAVREL_CLI_CONVERSION_WATCHDOG_H
#define KAVREL_CLI_CONVERSION_WATCHDOG_H

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace kavrel {

// The default limit: two minutes and ten seconds per megabyte of input,
// a hundred times what a conversion takes here.
double DefaultTimeLimit(uint64_t input_bytes);

class ConversionWatchdog {
 public:
  // After `seconds` (none when <= 0), or kInterruptGrace after a Ctrl-C
  // while the conversion still runs, the process reports that it gives up
  // on `input` and exits with status 1, writing nothing.
  ConversionWatchdog(double seconds, const std::string &input);
  // Stops watching.
  ~ConversionWatchdog();
  ConversionWatchdog(const ConversionWatchdog &) = delete;
  ConversionWatchdog &operator=(const ConversionWatchdog &) = delete;

 private:
  // The plug-in polls for an abort after every shape; Coin3D's reader
  // never does, and nothing else can stop it.
  static constexpr std::chrono::milliseconds kInterruptPoll{100};
  static constexpr std::chrono::seconds kInterruptGrace{2};

  void Watch(double seconds, std::string message);
  [[noreturn]] static void GiveUp(const std::string &message);

  std::string interrupt_message_;
  std::mutex mutex_;
  std::condition_variable stop_;
  bool stopped_ = false;
  std::thread thread_;
};

}  // namespace kavrel

#endif
