// The one exported function: walks the host's token list and runs commands.
#include <cstring>

#include "host/import_io.h"
#include "host/kv_toolkit.h"
#include "options/options.h"
#include "plugin/plugin.h"
#include "scene/scene.h"

namespace {

const char *ValueText(intptr_t value) { return reinterpret_cast<const char *>(value); }

// Records the support directory, starts from fresh defaults and loads the
// stored preferences over them.
void Initialize(const char *directory) {
  if (plugin.plugin_directory) {
    Kv_Free_Memory(plugin.plugin_directory);
    plugin.plugin_directory = nullptr;
  }
  if (plugin.state) FreeInventorState();
  SetDefaultOptions_Inventor();
  if (!directory) return;
  Import_IO_Copy_String(&plugin.plugin_directory, directory);
  LoadImportConvertOptions_Inventor(PreferencesFilePath(directory).c_str());
}

bool Is(const char *token, const char *word) { return std::strcmp(token, word) == 0; }

// The tokens in order; a "execute_geometry_converter" takes the rest.
void Dispatch(const char **tokens, const intptr_t *values, int32_t *result) {
  for (int i = 0; tokens[i] && tokens[i][0]; ++i) {
    const char *token = tokens[i];
    if (Is(token, "parent_hWnd")) {
      plugin.parent_window = reinterpret_cast<HWND>(values[i]);
    } else if (Is(token, "initialize")) {
      Initialize(ValueText(values[i]));
    } else if (Is(token, "validate_header")) {
      *result = ValidateHeader_Inventor(ValueText(values[i]));
    } else if (Is(token, "show_options_dialog")) {
      *result = ShowOptionsDialog_Inventor();
    } else if (Is(token, "show_about_dialog")) {
      ShowAboutBox_Inventor();
    } else if (Is(token, "execute_geometry_converter")) {
      // The rest of the list belongs to the run: its option tokens.
      ImportConverter_Inventor(tokens + i + 1, values + i + 1, result, 0);
      return;
    }
    // "parent_hInstance", "shutdown", "new_instance", "destroy_instance" and
    // unknown tokens change nothing: all data lives at module level.
  }
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void Kavrel_Plugin_EntryPoint(const char **tokens,
                                                                                const intptr_t *values, int32_t *result,
                                                                                intptr_t) {
  int32_t unused = 0;
  if (!result) result = &unused;
  *result = 0;
  if (!tokens) return;
  // No exception may cross into the host, which may not be C++ at all.
  try {
    Dispatch(tokens, values, result);
  } catch (...) {
    *result = 1;
  }
}
