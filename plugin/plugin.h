// The plug-in frame's own operations: the entry point's commands, header
// validation and the guarded conversion run with its error hook.
#ifndef PLUGIN_PLUGIN_H
#define PLUGIN_PLUGIN_H

#include <cstdint>

#include "host/host_records.h"
#include "state/state.h"

extern "C" void Kavrel_Plugin_EntryPoint(const char **tokens, const intptr_t *values, int32_t *result,
                                         intptr_t reserved);

// "validate_header": 1 valid, -1 unreadable, -2 unsupported (VRML 2.0 among them).
int16_t ValidateHeader_Inventor(const char *path);
// "execute_geometry_converter": the run-time option tokens, then the run; result 0 done, 1 not.
void ImportConverter_Inventor(const char **tokens, const intptr_t *values, int32_t *result, intptr_t reserved);
// Thrown by the error hook on a level-5 error; caught by the guarded run,
// so the unwinding destroys the Coin3D objects on the way.
struct InventorRunAborted {};

// The guarded run of one conversion: 0 done, 1 aborted.
int16_t RunImportConverter_Inventor(const char *path);
// The run's error hook: prints the report and aborts the run at level 5.
void ReportErrorHook_Inventor(Import_IO_ErrorRecord *record);

#endif
