#include "kavrel/cli/overwrite_prompt.h"

#include <cstdio>

#include "kavrel/cli/console_reports.h"
#include "kavrel/cli/console_stream.h"
#include "kavrel/cli/file_system.h"

namespace kavrel {
namespace {

bool Inside(const std::string &directory, const std::string &path) {
  return !directory.empty() && path.compare(0, directory.size(), directory) == 0 &&
         path.find_first_of(kPathSeparators, directory.size()) == std::string::npos;
}

bool AskOnTerminal(const std::string &path) {
  EndProgressLine();
  std::fprintf(stderr, "kavrel-convert: '%s' exists; replace it? [y/N] ", path.c_str());
  std::fflush(stderr);
  char answer[16] = "";
  if (std::fgets(answer, sizeof answer, stdin) == nullptr) {
    std::fputc('\n', stderr);
    return false;
  }
  return answer[0] == 'y' || answer[0] == 'Y';
}

}  // namespace

std::function<bool(const std::string &path)> OverwritePrompt(bool overwrite, const std::string &own_directory) {
  return [overwrite, own_directory](const std::string &path) {
    if (overwrite || Inside(own_directory, path)) return true;
    if (IsConsole(0) && IsConsole(2)) return AskOnTerminal(path);
    ShowNotice("kavrel-convert: kept the existing '" + path + "' (--overwrite replaces it)");
    return false;
  };
}

}  // namespace kavrel
