// What the user asked kavrel-convert to do, parsed from argv.
#ifndef KAVREL_CLI_COMMAND_LINE_H
#define KAVREL_CLI_COMMAND_LINE_H

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "kavrel/cli/exit_status.h"

namespace kavrel {

struct ConvertCommand {
  std::vector<std::string> inputs;             // empty: convert the bundled example
  std::string output;                          // "" : each input's base name + ".glb" in the current directory
  std::vector<std::pair<std::string, std::string>> option_tokens;  // -O KEY=VALUE, in command-line order
  std::string support_dir;                     // "" : the per-user default
  std::string plugin_path;                     // "" : $KAVREL_PLUGIN, else the plug-in built with this command
  std::vector<std::string> texture_roots;      // --texture-root: the only trees textures are read from; empty: any
  double time_limit = -1;                      // --time-limit: seconds, 0 none; < 0 the default for the input's size
  int64_t max_triangles = 200000000;           // --max-triangles: sent as max_triangles, 0 no limit
  bool classic_counts = false;                 // --classic-counts: count_in_traversal_state is not sent
  bool faces_only = false;                     // --faces-only: import_lines_and_points is not sent
  bool check_only = false;                     // --check: header validation only
  bool trace = false;                          // --trace: host call journal to stderr
  bool quiet = false;                          // -q: no progress lines
  bool overwrite = false;                      // --overwrite: replace existing files without asking
  bool show_options = false;                   // --options: the options dialog in the terminal
  bool show_about = false;                     // --about: the about box in the terminal
  bool verbose = false;                        // -v: every progress line, every worker message of a batch
  int jobs = 0;                                // -j: a batch's worker processes at once; 0 the number of cores
  std::string output_dir;                      // --output-dir: a batch's output tree; "" the current directory
  std::string format;                          // --format: a batch's output extension; "" glb
  std::string report_path;                     // --report: a batch's JSON report; "" none
  std::string result_path;                     // --batch-result (a batch's worker): where its result goes
};

// How many of option_tokens the command adds itself, ahead of the -O ones.
size_t HostTokenCount(const ConvertCommand &command);

// Parses argv into *command. Returns true to go on; false when the command
// is finished, with the exit status in *status (0 after --help/--version,
// kExitUsage after a usage error, whose message is already printed).
bool ParseCommandLine(int argc, char **argv, ConvertCommand *command, ExitStatus *status);

}  // namespace kavrel

#endif
