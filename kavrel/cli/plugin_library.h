// The import plug-in as a host sees it: a library loaded at run time and
// driven only through Kavrel_Plugin_EntryPoint token lists.
#ifndef KAVREL_CLI_PLUGIN_LIBRARY_H
#define KAVREL_CLI_PLUGIN_LIBRARY_H

#include <string>
#include <utility>
#include <vector>

#include "kavrel/cli/options_terminal.h"

namespace kavrel {

// Answers of "validate_header".
enum HeaderStatus { kHeaderValid = 1, kHeaderUnreadable = -1, kHeaderUnsupported = -2 };

class PluginLibrary {
 public:
  // The plug-in to load: explicit path, else $KAVREL_PLUGIN, else the one
  // installed beside this command, else the one built with it.
  static std::string ChoosePath(const std::string &explicit_path);

  // Loads the library and looks up the entry point; false with
  // the loader's message in *error.
  bool Load(const std::string &path, std::string *error);

  // "initialize" with the support directory (ends with '/').
  void Initialize(const std::string &support_dir);
  // "validate_header": 1, -1 or -2.
  int ValidateHeader(const std::string &path);
  // "execute_geometry_converter" with "filename" and the option tokens in
  // order; the run's result (0 done, 1 aborted or not opened).
  int Convert(const std::string &path, const std::vector<std::pair<std::string, std::string>> &options);

  PluginEntryPoint entry() const { return entry_; }

 private:
  // One entry-point call; tokens and values are parallel, the list end is added here.
  int Send(std::vector<const char *> tokens, std::vector<intptr_t> values);

  PluginEntryPoint entry_ = nullptr;
};

}  // namespace kavrel

#endif
