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
  bool check_only = false;                     // --check: header validation only
  bool trace = false;                          // --trace: host call journal to stderr
  bool quiet = false;                          // -q: no progress lines
  bool overwrite = false;                      // --overwrite: replace existing files without asking
  bool show_options = false;                   // --options: the options dialog in the terminal
  bool show_about = false;                     // --about: the about box in the terminal
};

// Parses argv into *command. Returns true to go on; false when the command
// is finished, with the exit status in *status (0 after --help/--version,
// kExitUsage after a usage error, whose message is already printed).
bool ParseCommandLine(int argc, char **argv, ConvertCommand *command, ExitStatus *status);

}  // namespace kavrel

#endif
