// What a batch keeps of one input: how its conversion ended and why.
#ifndef KAVREL_CLI_BATCH_RECORD_H
#define KAVREL_CLI_BATCH_RECORD_H

#include <cstdint>
#include <string>
#include <vector>

#include "kavrel/cli/batch_process.h"
#include "kavrel/cli/exit_status.h"

namespace kavrel {

struct BatchRecord {
  std::string input;                           // as found
  std::string output;                          // where it went or would have gone; "" when none was planned
  ExitStatus status = kExitFailed;             // kExitConverted, kExitFailed or kExitUnsupported
  std::string reason;                          // why it failed or was refused; "" when converted
  std::vector<std::string> statistics;         // the plug-in's report lines (its statistics)
  std::vector<std::string> messages;           // everything the conversion said on standard error
  int64_t triangles = 0;                       // triangles written; 0 unless converted
  double seconds = 0;                          // wall-clock time of its worker
};

// "converted", "failed" or "unsupported".
const char *OutcomeWord(ExitStatus status);

// Fills status, reason, statistics and messages of a record from how its
// worker ended and what it wrote: out and err are the worker's standard
// output and error, result its result file.
void ReadWorkerOutcome(const WorkerEnd &end, const std::string &out, const std::string &err, const std::string &result,
                       BatchRecord *record);

}  // namespace kavrel

#endif
