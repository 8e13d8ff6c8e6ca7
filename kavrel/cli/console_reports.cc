#include "kavrel/cli/console_reports.h"

#include <chrono>
#include <cstdio>
#include <map>
#include <mutex>
#include <utility>

#include "kavrel/cli/console_stream.h"

namespace kavrel {

namespace {

struct ConsoleState {
  bool quiet = false;
  bool in_place = false;                       // stderr is a terminal: redraw one line
  bool line_drawn = false;                     // an in-place line is on screen
  int shapes_started = 0;                      // the plug-in's "Processing ..." lines of this run
  std::chrono::steady_clock::time_point last_draw;
  std::string fatal_echo;                      // the report line that echoes the last fatal error
};

ConsoleState console;

// Redrawing a terminal line per shape would cost more than the shape on
// large files; a few redraws a second are all the eye can follow.
constexpr std::chrono::milliseconds kRedrawInterval{50};

// The plug-in announces each shape with "Processing N polygon Shape node.";
// the shapes before the one it works on are done.
std::string WithShapeCount(const std::string &text) {
  if (text.compare(0, 11, "Processing ") == 0) ++console.shapes_started;
  if (console.shapes_started == 0) return text;
  const int done = console.shapes_started - 1;
  return std::to_string(done) + (done == 1 ? " shape done | " : " shapes done | ") + text;
}

// Progress lines to a file, a pipe or a verbose terminal are written in
// batches: a file of 20,000 shapes makes 80,000 of them, and a write per
// line took a tenth of the run. A batch goes out once a line comes
// kRedrawInterval after the last batch, before any other output, and from
// the conversion's watchdog a few times a second (so a shape that takes
// long, or hangs, has its line shown).
struct PendingProgress {
  std::mutex mutex;
  std::string lines;
  std::chrono::steady_clock::time_point last_write;
};

PendingProgress pending;

void WritePendingLocked(std::chrono::steady_clock::time_point now) {
  pending.last_write = now;
  if (pending.lines.empty()) return;
  std::fwrite(pending.lines.data(), 1, pending.lines.size(), stderr);
  std::fflush(stderr);
  pending.lines.clear();
}

void AddPendingLine(const std::string &text) {
  std::lock_guard<std::mutex> lock(pending.mutex);
  pending.lines += text;
  pending.lines += '\n';
  const auto now = std::chrono::steady_clock::now();
  if (now - pending.last_write >= kRedrawInterval) WritePendingLocked(now);
}

void DrawProgress(const std::string &text) {
  if (console.quiet) return;
  if (!console.in_place) return AddPendingLine(text);
  auto now = std::chrono::steady_clock::now();
  if (console.line_drawn && now - console.last_draw < kRedrawInterval) return;
  console.last_draw = now;
  console.line_drawn = true;
  std::fprintf(stderr, "\r\033[K%s", text.c_str());
  std::fflush(stderr);
}

std::string WithoutTrailingNewline(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

// The plug-in's error hook prints a fatal error's text as a report line
// right after the host showed it as an error: once is enough.
void WriteReport(const std::string &text) {
  const bool echo = !console.fatal_echo.empty() && text == console.fatal_echo;
  console.fatal_echo.clear();
  if (echo) return;
  EndProgressLine();
  std::fwrite(text.data(), 1, text.size(), stdout);
}

// A file with thousands of like nodes can raise the same message thousands
// of times: each message is shown a few times, then counted and summed up
// once the run is over (the journal keeps every one).
constexpr int kShownRepeats = 3;
std::map<std::pair<int, std::string>, int> error_counts;

void PrintHostError(int level, const std::string &text, const char *suffix) {
  EndProgressLine();
  std::fprintf(stderr, "error (level %d): %s%s\n", level, text.c_str(), suffix);
}

void WriteHostError(int level, const std::string &text) {
  const std::string line = WithoutTrailingNewline(text);
  console.fatal_echo = level == 5 ? line + "\n" : "";
  if (++error_counts[{level, line}] <= kShownRepeats) PrintHostError(level, line, "");
}

}  // namespace

ReportSinks ConsoleReportSinks(bool quiet, bool verbose) {
  console.quiet = quiet;
  console.in_place = !verbose && IsConsole(2);
  // Statistics lines and --check answers go to a pipe or a file in blocks.
  if (!IsConsole(1)) std::setvbuf(stdout, nullptr, _IOFBF, BUFSIZ);
  ReportSinks sinks;
  sinks.report = WriteReport;
  sinks.error = WriteHostError;
  sinks.progress = [](const std::string &text) {
    const std::string line = WithoutTrailingNewline(text);
    DrawProgress(console.in_place ? WithShapeCount(line) : line);
  };
  return sinks;
}

void ShowProgress(const std::string &text) {
  console.shapes_started = 0;
  DrawProgress(text);
}

void ShowSummary(const std::string &text) {
  if (!console.quiet) ShowNotice(text);
}

void ShowNotice(const std::string &text) {
  EndProgressLine();
  std::fprintf(stderr, "%s\n", text.c_str());
}

void ShowError(const std::string &text) {
  EndProgressLine();
  std::fprintf(stderr, "kavrel-convert: %s\n", text.c_str());
}

void SummarizeRepeatedErrors() {
  for (const auto &[message, count] : error_counts) {
    if (count <= kShownRepeats) continue;
    const std::string more = " (" + std::to_string(count - kShownRepeats) + " more like it)";
    PrintHostError(message.first, message.second, more.c_str());
  }
  error_counts.clear();
}

void WritePendingProgress() {
  std::unique_lock<std::mutex> lock(pending.mutex, std::try_to_lock);
  if (lock.owns_lock()) WritePendingLocked(std::chrono::steady_clock::now());
}

void EndProgressLine() {
  {
    std::lock_guard<std::mutex> lock(pending.mutex);
    WritePendingLocked(std::chrono::steady_clock::now());
  }
  if (!console.line_drawn) return;
  std::fputs("\r\033[K", stderr);
  console.line_drawn = false;
}

void PrintJournal(const Journal &journal) {
  EndProgressLine();
  for (const JournalEntry &entry : journal.entries()) std::fprintf(stderr, "%s\n", entry.to_string().c_str());
}

}  // namespace kavrel
