// One input through the whole path: a fresh Host, header check, the
// plug-in's run, export.
#ifndef KAVREL_CLI_CONVERT_INPUT_H
#define KAVREL_CLI_CONVERT_INPUT_H

#include <string>

#include "kavrel/cli/command_line.h"
#include "kavrel/cli/exit_status.h"
#include "kavrel/cli/plugin_library.h"
#include "kavrel/host.h"

namespace kavrel {

struct ConversionSettings {
  std::string support_dir;                     // ends with '/', handed to "initialize"
  const ConvertCommand *command;               // option tokens, trace
  HostSettings host;                           // what every conversion's Host starts from
};

// Converts input into output (format from its extension) on a Host of its
// own, current while it runs and kept until the process ends (the process
// converts once, then exits). Writes nothing unless the whole conversion
// succeeded; every failure is reported on standard error and answered with
// its exit status. A worker of a batch leaves its result file too.
ExitStatus ConvertInput(PluginLibrary &plugin, const ConversionSettings &settings, const std::string &input,
                        const std::string &output);

}  // namespace kavrel

#endif
