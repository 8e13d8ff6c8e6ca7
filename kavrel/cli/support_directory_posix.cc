#include "kavrel/cli/support_directory.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace kavrel {

namespace {

std::string HomeDirectory() {
  const char *home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return home;
  const struct passwd *entry = getpwuid(getuid());
  return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : ".";
}

// mkdir -p; errno of the first step that failed.
bool MakeDirectories(const std::string &directory) {
  for (std::string::size_type slash = directory.find('/', 1); ; slash = directory.find('/', slash + 1)) {
    std::string prefix = directory.substr(0, slash);
    if (!prefix.empty() && mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) break;
  }
  struct stat info;
  if (stat(directory.c_str(), &info) != 0) return false;
  if (!S_ISDIR(info.st_mode)) {
    errno = ENOTDIR;
    return false;
  }
  return true;
}

}  // namespace

std::string DefaultSupportDirectory() {
  const char *config = std::getenv("XDG_CONFIG_HOME");
  std::string base = config != nullptr && config[0] == '/' ? config : HomeDirectory() + "/.config";
  return base + "/kavrel/inventor/";
}

std::string PrepareSupportDirectory(const std::string &directory, std::string *error) {
  std::string prepared = directory;
  if (prepared.empty() || prepared.back() != '/') prepared += '/';
  if (!MakeDirectories(prepared)) {
    *error = "cannot make support directory '" + prepared + "': " + std::strerror(errno);
  }
  return prepared;
}

}  // namespace kavrel
