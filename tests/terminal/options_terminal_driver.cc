// options_terminal_driver DIR [--about]: loads the plug-in as a host does,
// initialises it on the support directory DIR and runs the options dialog
// (or the about box) in this terminal. The result goes to DIR/result.txt.
#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "kavrel/cli/options_terminal.h"

int main(int argc, char **argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s SUPPORT_DIR [--about]\n", argv[0]);
    return 2;
  }
  void *plugin = dlopen(KAVREL_PLUGIN_PATH, RTLD_NOW);
  auto entry = plugin ? reinterpret_cast<kavrel::PluginEntryPoint>(dlsym(plugin, "Kavrel_Plugin_EntryPoint")) : nullptr;
  if (!entry) {
    std::fprintf(stderr, "cannot load the plug-in: %s\n", dlerror());
    return 1;
  }
  kavrel::Host host;
  kavrel::CurrentHostScope current(host);
  std::string directory = std::string(argv[1]) + "/";
  const char *tokens[] = {"initialize", nullptr};
  intptr_t values[] = {reinterpret_cast<intptr_t>(directory.c_str()), 0};
  int32_t ignored = 0;
  entry(tokens, values, &ignored, 0);
  int result = kavrel::RunDialogInTerminal(host, entry, argc > 2 && std::strcmp(argv[2], "--about") == 0);
  if (FILE *out = std::fopen((directory + "result.txt").c_str(), "w")) {
    std::fprintf(out, "result %d\n", result);
    std::fclose(out);
  }
  return 0;
}
