#include "kavrel/cli/input_check.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace kavrel {

namespace {

InputVerdict Unreadable(const std::string &message) { return {kExitFailed, "unreadable", message}; }

InputVerdict Unsupported(const std::string &message) { return {kExitUnsupported, "unsupported", message}; }

InputVerdict CheckFileSystem(const std::string &path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return Unreadable("cannot read '" + path + "': " + std::strerror(errno));
  if (S_ISDIR(info.st_mode)) return Unreadable("'" + path + "' is a directory, not a file");
  if (!S_ISREG(info.st_mode)) return Unreadable("'" + path + "' is not a regular file");
  if (info.st_size == 0) return Unsupported("'" + path + "' is empty");
  return {kExitConverted, "valid", ""};
}

}  // namespace

InputVerdict CheckInput(PluginLibrary &plugin, const std::string &path) {
  InputVerdict verdict = CheckFileSystem(path);
  if (verdict.status != kExitConverted) return verdict;
  switch (plugin.ValidateHeader(path)) {
    case kHeaderValid:
      return verdict;
    case kHeaderUnreadable:
      return Unreadable("cannot read '" + path + "'");
    default:
      return Unsupported("'" + path + "' is not an Open Inventor 2.x or VRML 1.0 file");
  }
}

}  // namespace kavrel
