// Temporary stand-ins until the preferences file and dialogs land.
#include "plugin/callbacks.h"
#include "plugin/plugin_module.h"

const Win32ModuleResources inventor_import_resources = {""};

int16_t LoadImportConvertOptions_Inventor(const char *) { return 1; }
int16_t SaveImportConvertOptions_Inventor(const char *) { return 1; }
INT_PTR CALLBACK OptionsDialogProc_Inventor(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
INT_PTR CALLBACK AboutBoxProc_Inventor(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
