#include "kavrel/cli/plugin_library.h"

#include <unistd.h>

#include <cstdlib>

#include "kavrel/cli/executable_location.h"
#include "kavrel/cli/plugin_loader.h"

namespace kavrel {

std::string PluginLibrary::ChoosePath(const std::string &explicit_path) {
  if (!explicit_path.empty()) return explicit_path;
  const char *from_environment = std::getenv("KAVREL_PLUGIN");
  if (from_environment != nullptr && from_environment[0] != '\0') return from_environment;
  // An installed command loads the plug-in installed with it, wherever the
  // tree was moved; the one built with it is for the build tree.
  std::string installed = ExecutableDirectory() + "/" + KAVREL_INSTALLED_PLUGIN;
  if (access(installed.c_str(), R_OK) == 0) return installed;
  return KAVREL_DEFAULT_PLUGIN;
}

bool PluginLibrary::Load(const std::string &path, std::string *error) {
  entry_ = LoadPluginEntryPoint(path, error);
  return entry_ != nullptr;
}

int PluginLibrary::Send(std::vector<const char *> tokens, std::vector<intptr_t> values) {
  tokens.push_back(nullptr);
  values.push_back(0);
  int32_t result = 0;
  entry_(tokens.data(), values.data(), &result, 0);
  return result;
}

void PluginLibrary::Initialize(const std::string &support_dir) {
  Send({"initialize"}, {reinterpret_cast<intptr_t>(support_dir.c_str())});
}

int PluginLibrary::ValidateHeader(const std::string &path) {
  return Send({"validate_header"}, {reinterpret_cast<intptr_t>(path.c_str())});
}

int PluginLibrary::Convert(const std::string &path,
                           const std::vector<std::pair<std::string, std::string>> &options) {
  std::vector<const char *> tokens{"execute_geometry_converter", "filename"};
  std::vector<intptr_t> values{0, reinterpret_cast<intptr_t>(path.c_str())};
  for (const auto &option : options) {
    tokens.push_back(option.first.c_str());
    values.push_back(reinterpret_cast<intptr_t>(option.second.c_str()));
  }
  return Send(std::move(tokens), std::move(values));
}

}  // namespace kavrel
