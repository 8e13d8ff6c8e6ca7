// The platform's library loader: loads the plug-in and finds its entry point.
#ifndef KAVREL_CLI_PLUGIN_LOADER_H
#define KAVREL_CLI_PLUGIN_LOADER_H

#include <string>

#include "kavrel/cli/options_terminal.h"

namespace kavrel {

// Loads the library at path (dlopen, or LoadLibrary on Windows) and looks up
// Kavrel_Plugin_EntryPoint; null with the loader's message in *error. The
// library is never unloaded: Coin3D, linked into it, registers clean-up
// handlers that must still find its code when the process exits.
PluginEntryPoint LoadPluginEntryPoint(const std::string &path, std::string *error);

}  // namespace kavrel

#endif
