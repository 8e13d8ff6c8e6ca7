#include "kavrel/cli/interrupt_handler.h"

#include <windows.h>

namespace kavrel {

namespace {

volatile LONG interrupt_count = 0;

const char kFirstNotice[] =
    "\nkavrel-convert: interrupted; stopping after the current shape (Ctrl-C again to quit now)\n";

// Windows runs console control handlers on a thread of their own.
BOOL WINAPI OnInterrupt(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  if (InterlockedIncrement(&interrupt_count) == 1) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), kFirstNotice, sizeof kFirstNotice - 1, &written, nullptr);
    return TRUE;
  }
  // The default handler ends the process.
  return FALSE;
}

}  // namespace

void InstallInterruptHandler() { SetConsoleCtrlHandler(OnInterrupt, TRUE); }

bool Interrupted() { return interrupt_count != 0; }

}  // namespace kavrel
