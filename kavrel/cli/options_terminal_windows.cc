// On Windows the plug-in's dialogs are real windows run by the system's
// dialog manager: the command is simply sent, and the user answers there.
#include "kavrel/cli/options_terminal.h"

namespace kavrel {

int RunDialogInTerminal(Host &, PluginEntryPoint entry, bool about) {
  if (!entry) return -1;
  int32_t result = 0;
  const char *tokens[] = {about ? "show_about_dialog" : "show_options_dialog", nullptr};
  intptr_t values[] = {0, 0};
  entry(tokens, values, &result, 0);
  return result;
}

// The dialogs are windows of their own: no terminal is needed.
bool TerminalAvailable() { return true; }

}  // namespace kavrel
