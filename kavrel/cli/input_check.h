// Whether an input is a file the plug-in can convert: the command's own
// file-system checks, then the plug-in's "validate_header".
#ifndef KAVREL_CLI_INPUT_CHECK_H
#define KAVREL_CLI_INPUT_CHECK_H

#include <string>

#include "kavrel/cli/exit_status.h"
#include "kavrel/cli/plugin_library.h"

namespace kavrel {

struct InputVerdict {
  ExitStatus status;                           // kExitConverted when the input can be converted
  const char *word;                            // "valid", "unreadable" or "unsupported"
  std::string message;                         // why not, for the user; "" when valid
};

// A directory, a device, a missing or empty file never reach the plug-in:
// the header test would open them with the C library and misread them.
InputVerdict CheckInput(PluginLibrary &plugin, const std::string &path);

}  // namespace kavrel

#endif
