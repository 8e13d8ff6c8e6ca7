#include "kavrel/cli/executable_path.h"

#include <windows.h>

namespace kavrel {

std::string ExecutableDirectory() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  if (length == 0 || length >= sizeof path) return "";
  std::string executable(path, length);
  return executable.substr(0, executable.find_last_of("\\/"));
}

}  // namespace kavrel
