#include "kavrel/cli/console_reports.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>

namespace kavrel {

namespace {

struct ConsoleState {
  bool quiet = false;
  bool in_place = false;                       // stderr is a terminal: redraw one line
  bool line_drawn = false;                     // an in-place line is on screen
  std::chrono::steady_clock::time_point last_draw;
};

ConsoleState console;

// Redrawing a terminal line per shape would cost more than the shape on
// large files; a few redraws a second are all the eye can follow.
constexpr std::chrono::milliseconds kRedrawInterval{50};

void DrawProgress(const std::string &text) {
  if (console.quiet) return;
  if (!console.in_place) {
    std::fprintf(stderr, "%s\n", text.c_str());
    return;
  }
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

void WriteReport(const std::string &text) {
  EndProgressLine();
  std::fwrite(text.data(), 1, text.size(), stdout);
}

void WriteHostError(int level, const std::string &text) {
  EndProgressLine();
  std::fprintf(stderr, "error (level %d): %s\n", level, WithoutTrailingNewline(text).c_str());
}

}  // namespace

void InstallConsoleReports(bool quiet) {
  console.quiet = quiet;
  console.in_place = isatty(STDERR_FILENO) == 1;
  ReportSinks sinks;
  sinks.report = WriteReport;
  sinks.error = WriteHostError;
  sinks.progress = [](const std::string &text) { DrawProgress(WithoutTrailingNewline(text)); };
  SetReportSinks(sinks);
}

void ShowProgress(const std::string &text) { DrawProgress(text); }

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

void EndProgressLine() {
  if (!console.line_drawn) return;
  std::fputs("\r\033[K", stderr);
  console.line_drawn = false;
}

void PrintJournal(const Journal &journal) {
  EndProgressLine();
  for (const JournalEntry &entry : journal.entries()) std::fprintf(stderr, "%s\n", entry.to_string().c_str());
}

}  // namespace kavrel
