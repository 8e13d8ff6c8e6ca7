#include "kavrel/cli/batch_progress.h"

#include <cstdio>

namespace kavrel {

namespace {

constexpr int kBarWidth = 24;
constexpr std::chrono::milliseconds kRedrawInterval{200};

std::string FileLine(const BatchRecord &record) {
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.1f s", record.seconds);
  if (record.status == kExitConverted) {
    return "converted " + record.input + " -> " + record.output + " (" + std::to_string(record.triangles) +
           " triangles, " + seconds + ")";
  }
  return std::string(OutcomeWord(record.status)) + " " + record.input + ": " + record.reason;
}

}  // namespace

std::string ClockTime(double seconds) {
  const long total = static_cast<long>(seconds + 0.5);
  char text[32];
  if (total >= 3600) std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60, total % 60);
  else std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
  return text;
}

BatchProgress::BatchProgress(size_t total, bool verbose, bool quiet)
    : total_(total), verbose_(verbose), quiet_(quiet), terminal_(ErrorIsTerminal()) {}

void BatchProgress::Started(const std::string &input) { running_.insert(input); }

void BatchProgress::Finished(const BatchRecord &record) {
  auto it = running_.find(record.input);
  if (it != running_.end()) running_.erase(it);
  ++done_;
  // On a terminal the bar counts the files converted; what went wrong
  // stays on screen above it.
  const bool converted = record.status == kExitConverted;
  if (verbose_ || !converted || (!terminal_ && !quiet_)) {
    Print(FileLine(record));
  }
  if (verbose_) {
    for (const std::string &line : record.statistics) Print("    " + line);
    for (const std::string &line : record.messages) Print("    " + line);
  }
  last_draw_ = {};
  Tick();
}

void BatchProgress::Notice(const std::string &text) { Print(text); }

void BatchProgress::Tick() {
  if (!terminal_ || quiet_) return;
  const Clock::time_point now = Clock::now();
  if (now - last_draw_ < kRedrawInterval) return;
  last_draw_ = now;
  std::string line = Bar();
  const size_t width = static_cast<size_t>(TerminalColumns()) - 1;
  if (line.size() > width) line.resize(width);
  std::fprintf(stderr, "\r\033[K%s", line.c_str());
  std::fflush(stderr);
  drawn_ = true;
}

void BatchProgress::End() {
  if (drawn_) std::fputs("\r\033[K", stderr);
  drawn_ = false;
}

void BatchProgress::Print(const std::string &line) {
  End();
  std::fprintf(stderr, "%s\n", line.c_str());
}

std::string BatchProgress::Bar() const {
  const double elapsed = std::chrono::duration<double>(Clock::now() - start_).count();
  const size_t filled = total_ == 0 ? 0 : done_ * kBarWidth / total_;
  std::string bar = "[" + std::string(filled, '#') + std::string(kBarWidth - filled, '.') + "] " +
                    std::to_string(done_) + "/" + std::to_string(total_) + "  " + ClockTime(elapsed);
  if (done_ > 0 && done_ < total_) {
    bar += ", about " + ClockTime(elapsed / static_cast<double>(done_) * static_cast<double>(total_ - done_)) + " left";
  }
  if (!running_.empty()) bar += "  ";
  for (auto it = running_.begin(); it != running_.end(); ++it) bar += (it == running_.begin() ? "" : ", ") + *it;
  return bar;
}

}  // namespace kavrel
