#include "kavrel/cli/bundled_example.h"

#include <unistd.h>

#include <climits>

namespace kavrel {

namespace {

const char kExample[] = "examples/showcase.iv";

std::string ExecutableDirectory() {
  char path[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return "";
  std::string executable(path, static_cast<size_t>(length));
  return executable.substr(0, executable.find_last_of('/'));
}

}  // namespace

std::string FindBundledExample() {
  std::string directory = ExecutableDirectory();
  const std::string candidates[] = {
      std::string(KAVREL_SOURCE_DIR) + "/" + kExample,
      directory + "/" + kExample,                          // a copied tree: kavrel-convert beside examples/
      directory + "/../share/kavrel/" + kExample,          // an installed tree
  };
  for (const std::string &candidate : candidates) {
    if (access(candidate.c_str(), R_OK) == 0) return candidate;
  }
  return "";
}

}  // namespace kavrel
