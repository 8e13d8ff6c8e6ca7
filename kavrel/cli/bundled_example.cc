#include "kavrel/cli/bundled_example.h"

#include <unistd.h>

#include "kavrel/cli/executable_location.h"

namespace kavrel {

namespace {

const char kExample[] = "examples/showcase.iv";

}  // namespace

std::string FindBundledExample() {
  std::string directory = ExecutableDirectory();
  // An installed command takes its own copy before any tree it was built from.
  const std::string candidates[] = {
      directory + "/../share/kavrel/" + kExample,          // an installed tree
      directory + "/" + kExample,                          // a copied tree: kavrel-convert beside examples/
      std::string(KAVREL_SOURCE_DIR) + "/" + kExample,
  };
  for (const std::string &candidate : candidates) {
    if (access(candidate.c_str(), R_OK) == 0) return candidate;
  }
  return "";
}

}  // namespace kavrel
