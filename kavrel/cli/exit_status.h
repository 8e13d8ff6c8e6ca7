// Exit statuses of kavrel-convert and how several inputs combine.
#ifndef KAVREL_CLI_EXIT_STATUS_H
#define KAVREL_CLI_EXIT_STATUS_H

namespace kavrel {

enum ExitStatus {
  kExitConverted = 0,    // every input converted (or, with --check, is valid)
  kExitFailed = 1,       // a run failed, an input was unreadable, an output unwritable, or Ctrl-C
  kExitUsage = 2,        // the command line itself was wrong
  kExitUnsupported = 3,  // an input is not an Inventor 2.x / VRML 1.0 file
};

// The overall status of several inputs: a failure outranks a file that was
// merely of the wrong kind, which outranks success.
inline ExitStatus WorstStatus(ExitStatus a, ExitStatus b) {
  auto rank = [](ExitStatus s) { return s == kExitFailed ? 3 : s == kExitUsage ? 2 : s == kExitUnsupported ? 1 : 0; };
  return rank(a) >= rank(b) ? a : b;
}

}  // namespace kavrel

#endif
