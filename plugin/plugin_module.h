// Module-level values of the plug-in and the operations of its frame.
#ifndef PLUGIN_PLUGIN_MODULE_H
#define PLUGIN_PLUGIN_MODULE_H

#include <cstdint>
#include <cstdio>

#include "host/host_records.h"
#include "host/platform_types.h"
#include "plugin/inventor_state.h"

// The one state record; null while none exists.
extern InventorState *state;
// This library's own module handle, recorded when it is attached.
extern HINSTANCE module_instance;
#ifndef _WIN32
// The resources that module_instance points at (options/ holds them).
extern const Win32ModuleResources inventor_import_resources;
#endif
// Owner of the dialogs and message boxes; null until "parent_hWnd".
extern HWND parent_window;
// Support directory from "initialize" (ends with a separator); null before.
extern char *plugin_directory;
// Name of the import's root instance (512 bytes).
extern char root_instance_name[512];
// The input file, open only to measure it, and its size.
extern FILE *input_file;
extern uint32_t input_file_size;

// Thrown by the error hook on a level-5 error; caught by the guarded run,
// so the unwinding destroys the Coin3D objects on the way.
struct InventorRunAborted {};

extern "C" void Kavrel_Plugin_EntryPoint(const char **tokens, const intptr_t *values, int32_t *result,
                                         intptr_t reserved);

int16_t ValidateHeader_Inventor(const char *path);
void ImportConverter_Inventor(const char **tokens, const intptr_t *values, int32_t *result, intptr_t reserved);
int16_t RunImportConverter_Inventor(const char *path);
void ReportErrorHook_Inventor(Import_IO_ErrorRecord *record);
int CheckForAbort_Inventor();

#endif
