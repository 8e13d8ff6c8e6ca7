// Batch conversion: many inputs (directories searched recursively), each
// file converted by a worker process of its own, at most -j at once, so
// that a file that crashes, aborts or hangs is reported and the rest go on.
#ifndef KAVREL_CLI_BATCH_RUN_H
#define KAVREL_CLI_BATCH_RUN_H

#include "kavrel/cli/command_line.h"
#include "kavrel/cli/exit_status.h"

namespace kavrel {

// True when the command converts as a batch: several inputs, a directory,
// or one of the batch options (-j, --output-dir, --format, --report).
bool IsBatch(const ConvertCommand &command);

// Converts every input as a batch; the status is the worst of the files'.
ExitStatus RunBatch(const ConvertCommand &command);

}  // namespace kavrel

#endif
