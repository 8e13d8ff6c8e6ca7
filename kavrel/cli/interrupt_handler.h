// Ctrl-C during a conversion: the first asks the plug-in to stop through the
// host's abort poll (the command's hosts ask Interrupted), the second ends
// the process at once. That, SIGTERM and SIGHUP first delete the run's
// temporary and extracted files.
#ifndef KAVREL_CLI_INTERRUPT_HANDLER_H
#define KAVREL_CLI_INTERRUPT_HANDLER_H

namespace kavrel {

void InstallInterruptHandler();

// True once Ctrl-C was pressed; it stays so for the whole command, every
// conversion it makes after the press stops too. Safe on any thread.
bool Interrupted();

}  // namespace kavrel

#endif
