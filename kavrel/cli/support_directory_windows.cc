#include "kavrel/cli/support_directory.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace kavrel {

std::string DefaultSupportDirectory() {
  const char *appdata = std::getenv("APPDATA");
  std::string base = appdata != nullptr && appdata[0] != '\0' ? appdata : ".";
  return base + "\\kavrel\\inventor\\";
}

std::string PrepareSupportDirectory(const std::string &directory, std::string *error) {
  std::string prepared = directory;
  if (prepared.empty() || (prepared.back() != '/' && prepared.back() != '\\')) prepared += '\\';
  // Narrow paths are in the ANSI code page, as every char call of Windows takes them.
  std::error_code failure;
  std::filesystem::path path(prepared);
  std::filesystem::create_directories(path, failure);
  if (!failure && !std::filesystem::is_directory(path, failure)) {
    failure = std::make_error_code(std::errc::not_a_directory);
  }
  if (failure) *error = "cannot make support directory '" + prepared + "': " + failure.message();
  return prepared;
}

}  // namespace kavrel
