// Runs kavrel-convert (or any program) as a child process for the tests:
// output captured in files, a time limit, a scratch directory.
#ifndef TESTS_CLI_CONVERT_PROCESS_H
#define TESTS_CLI_CONVERT_PROCESS_H

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

namespace kavrel_test {

struct ProcessResult {
  int status = -1;                             // exit status, or 128 + signal number
  std::string out;                             // standard output
  std::string err;                             // standard error
};

// A child whose standard output and error go to files in the scratch
// directory, so large outputs never block it.
class ChildProcess {
 public:
  // argv[0] is the program; cwd "" keeps the current directory.
  ChildProcess(const std::vector<std::string> &argv, const std::string &cwd, const std::string &scratch);
  ~ChildProcess();

  pid_t pid() const { return pid_; }
  std::string StandardError() const;
  // Waits up to seconds, then kills it; status 124 when it was killed.
  ProcessResult Wait(int seconds);

 private:
  pid_t pid_ = -1;
  std::string out_path_;
  std::string err_path_;
};

// A scratch directory, removed with everything in it.
class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  const std::string &path() const { return path_; }
  // Writes text to path()/relative (directories made) and returns the full path.
  std::string Write(const std::string &relative, const std::string &text) const;
  // Names of the entries in path()/relative, sorted.
  std::vector<std::string> List(const std::string &relative = "") const;

 private:
  std::string path_;
};

std::string ReadFile(const std::string &path);

// kavrel-convert with args in cwd, with its per-user settings kept in the
// scratch directory.
ProcessResult RunConvert(const ScratchDirectory &scratch, const std::vector<std::string> &args,
                         const std::string &cwd = "");

// Counts by name ("triangles", "lines", ...).
using Counts = std::map<std::string, long>;

// The counts of kavrel-convert's "Output: " line in its standard output.
Counts SummaryCounts(const std::string &out);

}  // namespace kavrel_test

#endif
