// The operating system's side of a batch: worker processes started with
// their output in files, polled and stopped, and the batch's own signals.
// Only this interface is used by the batch; each system has its own file.
#ifndef KAVREL_CLI_BATCH_PROCESS_H
#define KAVREL_CLI_BATCH_PROCESS_H

#include <cstdint>
#include <string>
#include <vector>

namespace kavrel {

struct WorkerEnd {
  bool signaled = false;                       // it died of a signal instead of exiting
  int code = 0;                                // the exit status, or the signal's number
  std::string signal_name;                     // "Segmentation fault"; "" when it exited
};

using WorkerId = int64_t;

// Starts argv (argv[0] the program) with standard input from the null
// device and standard output and error into the files out and err, in a
// process group of its own, so that the terminal's Ctrl-C reaches only the
// batch, which passes it on. False with the reason in *error.
bool StartWorker(const std::vector<std::string> &argv, const std::string &out, const std::string &err,
                 WorkerId *id, std::string *error);
// True, with how it ended, once the worker has ended (never blocks); its
// id is no longer valid then.
bool WorkerEnded(WorkerId id, WorkerEnd *end);

enum class WorkerStop {
  kInterrupt,                                  // as a Ctrl-C: stop after the current shape, write nothing
  kTerminate,                                  // as SIGTERM: leave at once, cleaning up
  kKill,                                       // no clean-up possible: it no longer answers
};
void StopWorker(WorkerId id, WorkerStop how);

// Whether standard error is a terminal, and how wide (80 when unknown).
bool ErrorIsTerminal();
int TerminalColumns();

// A fresh private directory for the workers' output files; "" on failure.
std::string MakeScratchDirectory();

// The batch's own Ctrl-C, SIGTERM and SIGHUP handling: they are counted
// here and acted upon by the batch loop, which passes them to its workers.
void InstallBatchSignals();
int BatchInterrupts();                         // Ctrl-Cs so far
int BatchTermination();                        // the SIGTERM or SIGHUP received, else 0
// Ends the process of that termination signal, as it would have without a handler.
[[noreturn]] void DieOfTermination(int signal_number);

}  // namespace kavrel

#endif
