// A plug-in that behaves like the real one (it loads it and passes every
// call on) except for inputs whose names ask it to fail the way a damaged
// file can make Coin3D fail: "crashes", "aborts", "hangs".
#include <dlfcn.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

using EntryPoint = void (*)(const char **tokens, const intptr_t *values, int32_t *result, intptr_t reserved);

EntryPoint RealPlugin() {
  static EntryPoint entry = [] {
    void *library = dlopen(KAVREL_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
    return library != nullptr ? reinterpret_cast<EntryPoint>(dlsym(library, "Kavrel_Plugin_EntryPoint")) : nullptr;
  }();
  return entry;
}

const char *ConvertedFile(const char **tokens, const intptr_t *values) {
  if (tokens[0] == nullptr || std::strcmp(tokens[0], "execute_geometry_converter") != 0) return "";
  for (int i = 1; tokens[i] != nullptr; ++i) {
    if (std::strcmp(tokens[i], "filename") == 0) return reinterpret_cast<const char *>(values[i]);
  }
  return "";
}

}  // namespace

// From the host that loaded this library.
extern "C" void Import_IO_Display_Info_Text(const char *text);

extern "C" __attribute__((visibility("default"))) void Kavrel_Plugin_EntryPoint(const char **tokens,
                                                                                 const intptr_t *values,
                                                                                 int32_t *result, intptr_t reserved) {
  const char *file = ConvertedFile(tokens, values);
  // No core file left in the test's directory.
  struct rlimit no_core = {0, 0};
  setrlimit(RLIMIT_CORE, &no_core);
  if (std::strstr(file, "crashes") != nullptr) {
    signal(SIGSEGV, SIG_DFL);  // past a sanitizer's handler, which would exit instead
    raise(SIGSEGV);
  }
  if (std::strstr(file, "aborts") != nullptr) std::abort();
  // Hangs where Coin3D's reader would: after the run announced the read.
  if (std::strstr(file, "hangs") != nullptr) Import_IO_Display_Info_Text("Reading Inventor File");
  while (std::strstr(file, "hangs") != nullptr) pause();
  RealPlugin()(tokens, values, result, reserved);
}
