// What the user sees while a batch runs: on a terminal one progress bar
// line (files done of total, the files in conversion, elapsed and
// estimated time) with failures printed above it; otherwise one plain line
// per finished file.
#ifndef KAVREL_CLI_BATCH_PROGRESS_H
#define KAVREL_CLI_BATCH_PROGRESS_H

#include <chrono>
#include <set>
#include <string>

#include "kavrel/cli/batch_record.h"

namespace kavrel {

class BatchProgress {
 public:
  // verbose: every worker message after its file's line; quiet: failures only.
  BatchProgress(size_t total, bool verbose, bool quiet);

  void Started(const std::string &input);
  void Finished(const BatchRecord &record);
  // A line the user must see, such as an interrupt notice.
  void Notice(const std::string &text);
  // Redraws the bar now and then (on a terminal).
  void Tick();
  // Leaves no bar behind.
  void End();

 private:
  void Print(const std::string &line);
  std::string Bar() const;

  using Clock = std::chrono::steady_clock;
  size_t total_;
  size_t done_ = 0;
  bool verbose_;
  bool quiet_;
  bool terminal_;
  bool drawn_ = false;
  Clock::time_point start_ = Clock::now();
  Clock::time_point last_draw_{};
  std::multiset<std::string> running_;
};

// "1:05" or "1:02:03".
std::string ClockTime(double seconds);

}  // namespace kavrel

#endif
