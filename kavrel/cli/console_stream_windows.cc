#include "kavrel/cli/console_stream.h"

#include <io.h>
#include <windows.h>

namespace kavrel {

bool IsConsole(int fd) {
  DWORD mode = 0;
  return GetConsoleMode(reinterpret_cast<HANDLE>(_get_osfhandle(fd)), &mode) != 0;
}

}  // namespace kavrel
