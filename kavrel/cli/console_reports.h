// The terminal side of the host's reports: report lines to standard
// output, errors and progress to standard error, the progress line updated
// in place when standard error is a terminal (unless verbose), with the
// count of shapes done.
#ifndef KAVREL_CLI_CONSOLE_REPORTS_H
#define KAVREL_CLI_CONSOLE_REPORTS_H

#include <string>

#include "kavrel/host.h"

namespace kavrel {

// Sets the console up for the host's reports and answers the sinks that
// route them there; quiet drops progress, verbose prints every progress
// line on a line of its own.
ReportSinks ConsoleReportSinks(bool quiet, bool verbose);

// A progress line of the command itself (dropped when quiet).
void ShowProgress(const std::string &text);
// A lasting line of the command itself, such as where an output went
// (dropped when quiet).
void ShowSummary(const std::string &text);
// A line the user must see whatever -q says.
void ShowNotice(const std::string &text);
// "kavrel-convert: text" on standard error.
void ShowError(const std::string &text);
// Leaves no half-drawn progress line behind, and no progress line unwritten.
void EndProgressLine();
// Writes the progress lines held back so far. For other threads than the
// one converting: it does nothing while that thread is writing (which may
// block on a full pipe), rather than wait.
void WritePendingProgress();
// Prints how often each message shown only a few times came; forgets them.
void SummarizeRepeatedErrors();

// Every journal entry, one per line, on standard error.
void PrintJournal(const Journal &journal);

}  // namespace kavrel

#endif
