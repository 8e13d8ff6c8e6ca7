// The module's one record (declared with the state record), and the
// library's own module handle recorded in it when the library is attached
// to the process. (One file: a static link that needs the record brings the
// attach step with it.)
#ifdef _WIN32
#include <windows.h>
#endif

#include "state/state.h"
#ifndef _WIN32
#include "options/module_resources.h"
#endif

PluginModule plugin;

#ifdef _WIN32
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) plugin.module_instance = instance;
  return TRUE;
}
#else
// Without Windows a module handle is the address of the module's resources,
// where the dialog layer finds the dialog templates.
__attribute__((constructor)) static void RecordModuleInstance() {
  plugin.module_instance =
      reinterpret_cast<HINSTANCE>(const_cast<Win32ModuleResources *>(&inventor_import_resources));
}
#endif
