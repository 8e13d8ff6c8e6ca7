#include "kavrel/image/canonical_path.h"

#include <climits>
#include <cstdlib>

namespace kavrel {

std::string CanonicalPath(const std::string &path) {
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : std::string();
}

}  // namespace kavrel
