// The module's one record.
#include "plugin/plugin.h"

PluginModule plugin;

InventorState *&state = plugin.state;
HINSTANCE &module_instance = plugin.module_instance;
HWND &parent_window = plugin.parent_window;
char *&plugin_directory = plugin.plugin_directory;
