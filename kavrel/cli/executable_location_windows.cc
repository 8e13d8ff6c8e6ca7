#include "kavrel/cli/executable_location.h"

#include <windows.h>

namespace kavrel {

std::string ExecutablePath() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  if (length == 0 || length >= sizeof path) return "";
  return std::string(path, length);
}

std::string ExecutableDirectory() {
  std::string executable = ExecutablePath();
  return executable.substr(0, executable.find_last_of("\\/"));
}

}  // namespace kavrel
