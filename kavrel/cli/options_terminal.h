// The options dialog and the about box in a terminal: the plug-in's own
// dialog procedures run over the in-memory Win32 dialog, drawn and edited
// with the keyboard. On Windows they are the real dialogs instead.
#ifndef KAVREL_CLI_OPTIONS_TERMINAL_H
#define KAVREL_CLI_OPTIONS_TERMINAL_H

#include <cstdint>

#include "kavrel/host.h"

namespace kavrel {

using PluginEntryPoint = void (*)(const char **tokens, const intptr_t *values, int32_t *result, intptr_t reserved);

// Sends "show_options_dialog" (about == false) or "show_about_dialog" to the
// plug-in (already initialised) while the terminal front end plays the
// user; host is the current one, whose error reports are held back until
// the dialog is gone. Returns the command's result (1 OK, 0 Cancel), -1
// when the dialog could not run, -2 when it reported an error of level 4
// or more (such as preferences that could not be written).
int RunDialogInTerminal(Host &host, PluginEntryPoint entry, bool about);

// True when the dialogs can be shown: where they are drawn in the terminal,
// when standard input and output are one; on Windows, whose dialogs are
// windows, always.
bool TerminalAvailable();

}  // namespace kavrel

#endif
