// Ctrl-C during a conversion: the first asks the plug-in to stop through the
// host's abort poll, the second ends the process at once. That, SIGTERM and
// SIGHUP first delete the run's temporary and extracted files.
#ifndef KAVREL_CLI_INTERRUPT_HANDLER_H
#define KAVREL_CLI_INTERRUPT_HANDLER_H

namespace kavrel {

void InstallInterruptHandler();

// True once Ctrl-C was pressed. Unlike the host's abort request, which
// ResetHost clears before each input, this stays set for the whole call.
bool Interrupted();

}  // namespace kavrel

#endif
