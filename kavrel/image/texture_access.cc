#include "kavrel/image/texture_access.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "kavrel/host.h"
#include "kavrel/image/canonical_path.h"
#include "kavrel/image/run_files.h"

namespace kavrel {
namespace {

std::vector<std::string> &texture_roots() {
  static std::vector<std::string> roots;  // resolved, each ending with '/'
  return roots;
}

bool InsideRoots(const std::string &canonical) {
  for (const std::string &root : texture_roots()) {
    if (canonical.compare(0, root.size(), root) == 0) return true;
  }
  return false;
}

}  // namespace

bool SetTextureRoots(const std::vector<std::string> &roots, std::string *error) {
  std::vector<std::string> resolved;
  for (const std::string &root : roots) {
    struct stat info;
    std::string canonical = CanonicalPath(root);
    if (canonical.empty() || stat(canonical.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
      *error = "texture root '" + root + "' is not a directory";
      return false;
    }
    if (canonical.back() != '/') canonical += '/';
    resolved.push_back(canonical);
  }
  texture_roots() = std::move(resolved);
  return true;
}

bool TextureFileReadable(const std::string &path, std::string *reason) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) {
    *reason = std::strerror(errno);
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    *reason = S_ISDIR(info.st_mode) ? "it is a directory" : "it is not a regular file";
    return false;
  }
  if (texture_roots().empty() || IsRunFile(path) || InsideRoots(CanonicalPath(path))) return true;
  *reason = "it is outside the texture roots";
  return false;
}

}  // namespace kavrel
