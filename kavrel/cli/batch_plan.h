// What a batch will convert: the INPUTs expanded (directories searched
// recursively for Inventor and VRML 1.0 files), each file's output path in
// a tree that mirrors the input tree, and the inputs that cannot take part.
#ifndef KAVREL_CLI_BATCH_PLAN_H
#define KAVREL_CLI_BATCH_PLAN_H

#include <string>
#include <vector>

namespace kavrel {

struct BatchJob {
  std::string input;                           // the INPUT, or a file found below an INPUT directory
  std::string output;                          // where its conversion goes
  std::string skipped;                         // why it is not converted; "" when it is
};

// True for the names a directory search takes: .iv, .wrl, .iv.gz, .wrl.gz
// and .wrz, in any case.
bool IsInventorFileName(const std::string &name);

// The output path of a file: its name with its Inventor extension (else its
// last extension) replaced by "." + extension, below output_dir ("" for the
// current directory). relative is the file's path below the INPUT directory
// it was found in, or its bare name for an INPUT file.
std::string BatchOutputPath(const std::string &output_dir, const std::string &relative, const std::string &extension);

// Every INPUT file as given, and every matching file below every INPUT
// directory (by name, for a stable order), as jobs. A directory that
// cannot be read, a symbolic link that loops or leads nowhere, and a file
// whose output another job already writes become skipped jobs with their
// reason.
std::vector<BatchJob> PlanBatch(const std::vector<std::string> &inputs, const std::string &output_dir,
                                const std::string &extension);

}  // namespace kavrel

#endif
