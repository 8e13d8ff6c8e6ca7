#include "tests/windows/plugin_dll.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace windows_test {

namespace {

using EntryPoint = void (*)(const char **, const intptr_t *, int32_t *, intptr_t);

EntryPoint Entry() {
  static EntryPoint entry = [] {
    auto symbol = GetProcAddress(PluginModule(), "Kavrel_Plugin_EntryPoint");
    if (symbol == nullptr) throw std::runtime_error("no Kavrel_Plugin_EntryPoint");
    return reinterpret_cast<EntryPoint>(reinterpret_cast<void *>(symbol));
  }();
  return entry;
}

std::string Ansi(const std::wstring &wide) {
  int size = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, &narrow[0], size, nullptr, nullptr);
  narrow.resize(static_cast<size_t>(size) - 1);
  return narrow;
}

}  // namespace

HMODULE PluginModule() {
  static HMODULE library = [] {
    HMODULE loaded = LoadLibraryExA(KAVREL_PLUGIN_PATH, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (loaded == nullptr) throw std::runtime_error("cannot load " KAVREL_PLUGIN_PATH);
    return loaded;
  }();
  return library;
}

int32_t Send(std::vector<const char *> tokens, std::vector<intptr_t> values) {
  values.resize(tokens.size(), 0);
  tokens.push_back(nullptr);
  values.push_back(0);
  int32_t result = 0;
  Entry()(tokens.data(), values.data(), &result, 0);
  return result;
}

intptr_t Value(const std::string &text) { return reinterpret_cast<intptr_t>(text.c_str()); }

SupportDirectory::SupportDirectory() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  wide_ = std::wstring(temp) + L"kavrel pr\u00e9f\u00e9rences " + std::to_wstring(GetCurrentProcessId()) + L"\\";
  std::filesystem::create_directories(wide_);
  path_ = Ansi(wide_);
}

SupportDirectory::~SupportDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(wide_, ignored);
}

std::string SupportDirectory::Read(const char *name) const {
  std::ifstream file(std::filesystem::path(wide_ + std::wstring(name, name + std::char_traits<char>::length(name))),
                     std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace windows_test
