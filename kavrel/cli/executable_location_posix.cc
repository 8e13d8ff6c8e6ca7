#include "kavrel/cli/executable_location.h"

#include <unistd.h>

#include <climits>

namespace kavrel {

std::string ExecutablePath() {
  char path[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return "";
  return std::string(path, static_cast<size_t>(length));
}

std::string ExecutableDirectory() {
  std::string executable = ExecutablePath();
  return executable.substr(0, executable.find_last_of('/'));
}

}  // namespace kavrel
