// One file of a batch in a process of its own: the command line a worker
// runs with, and what a worker leaves for the batch beyond its output.
#ifndef KAVREL_CLI_BATCH_WORKER_H
#define KAVREL_CLI_BATCH_WORKER_H

#include <string>
#include <vector>

#include "kavrel/cli/command_line.h"
#include "kavrel/toolkit/scene.h"

namespace kavrel {

// kavrel-convert (program) converting input into output with every
// conversion setting of the batch's command, quietly, leaving its result
// file at result.
std::vector<std::string> WorkerArguments(const std::string &program, const ConvertCommand &command,
                                         const std::string &input, const std::string &output,
                                         const std::string &result);

// In a worker after its conversion: the triangles of the scene it wrote,
// for the batch's totals.
void WriteWorkerResult(const Scene &scene, const std::string &path);

}  // namespace kavrel

#endif
