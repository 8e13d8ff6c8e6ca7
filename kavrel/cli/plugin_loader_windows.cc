#include "kavrel/cli/plugin_loader.h"

#include <windows.h>

namespace kavrel {

namespace {

std::string SystemMessage(DWORD code) {
  char text[512] = "";
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                sizeof text, nullptr);
  while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' || text[length - 1] == ' ')) --length;
  return length > 0 ? std::string(text, length) : "error " + std::to_string(code);
}

}  // namespace

PluginEntryPoint LoadPluginEntryPoint(const std::string &path, std::string *error) {
  // With the altered search path the DLLs the plug-in imports (Coin3D, the
  // host DLLs, the C++ runtime) are looked up beside the plug-in first; it
  // wants a full path.
  char full[MAX_PATH];
  DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  const char *name = length > 0 && length < sizeof full ? full : path.c_str();
  HMODULE library = LoadLibraryExA(name, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (library == nullptr) {
    *error = "cannot load the plug-in: " + path + ": " + SystemMessage(GetLastError());
    return nullptr;
  }
  FARPROC symbol = GetProcAddress(library, "Kavrel_Plugin_EntryPoint");
  if (symbol == nullptr) {
    *error = "'" + path + "' does not export Kavrel_Plugin_EntryPoint";
    return nullptr;
  }
  return reinterpret_cast<PluginEntryPoint>(reinterpret_cast<void *>(symbol));
}

}  // namespace kavrel
