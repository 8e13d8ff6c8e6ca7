#include "kavrel/cli/plugin_loader.h"

#include <dlfcn.h>

namespace kavrel {

PluginEntryPoint LoadPluginEntryPoint(const std::string &path, std::string *error) {
  void *library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    *error = "cannot load the plug-in: " + std::string(dlerror());
    return nullptr;
  }
  void *symbol = dlsym(library, "Kavrel_Plugin_EntryPoint");
  if (symbol == nullptr) {
    *error = "'" + path + "' does not export Kavrel_Plugin_EntryPoint";
    return nullptr;
  }
  return reinterpret_cast<PluginEntryPoint>(symbol);
}

}  // namespace kavrel
