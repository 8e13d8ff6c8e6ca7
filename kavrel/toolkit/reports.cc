// Where the host's messages go.
#include <cstdio>

#include "kavrel/host.h"

namespace kavrel {
namespace {

ReportSinks DefaultSinks() {
  ReportSinks sinks;
  sinks.report = [](const std::string &text) {
    std::fputs(text.c_str(), stdout);
    std::fflush(stdout);
  };
  sinks.error = [](int level, const std::string &text) {
    std::fprintf(stderr, "level %d: %s\n", level, text.c_str());
  };
  sinks.progress = [](const std::string &text) { std::fprintf(stderr, "%s\n", text.c_str()); };
  return sinks;
}

}  // namespace

ReportSinks &report_sinks() {
  static ReportSinks sinks = DefaultSinks();
  return sinks;
}

// A sink left empty falls back to its default, so callers never test them.
void SetReportSinks(ReportSinks sinks) {
  ReportSinks defaults = DefaultSinks();
  if (!sinks.report) sinks.report = defaults.report;
  if (!sinks.error) sinks.error = defaults.error;
  if (!sinks.progress) sinks.progress = defaults.progress;
  report_sinks() = std::move(sinks);
}

}  // namespace kavrel
