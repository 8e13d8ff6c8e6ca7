#include "kavrel/cli/executable_path.h"

#include <unistd.h>

#include <climits>

namespace kavrel {

std::string ExecutableDirectory() {
  char path[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return "";
  std::string executable(path, static_cast<size_t>(length));
  return executable.substr(0, executable.find_last_of('/'));
}

}  // namespace kavrel
