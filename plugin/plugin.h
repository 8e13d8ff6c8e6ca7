// The plug-in frame as the other folders of the plug-in see it: the module
// record with the one state record, and the frame's shared services.
#ifndef PLUGIN_PLUGIN_H
#define PLUGIN_PLUGIN_H

#include <cstdint>
#include <cstdio>
#include <stdexcept>

#include <Inventor/SbString.h>

#include "host/platform_types.h"
#include "plugin/inventor_state.h"

class SoNode;

// Everything the module keeps between the host's calls.
struct PluginModule {
  InventorState *state = nullptr;       // the one state record; null while none exists
  HINSTANCE module_instance = nullptr;  // this library's own module handle, recorded when it is attached
  HWND parent_window = nullptr;         // owner of the dialogs and message boxes; null until "parent_hWnd"
  char *plugin_directory = nullptr;     // support directory from "initialize", ending with its separator; null before
  // Name of the import's root instance as the import support library made
  // it; the traversal reads it. Once an optimiser may have removed the root,
  // the library's name (Import_IO_Get_Root_Imported_Instance_Name) counts.
  char root_instance_name[512] = {};
  FILE *input_file = nullptr;           // the input file, open during a run only to measure it
  uint32_t input_file_size = 0;         // its size (low 32 bits), for the abort poll
};

// The module's one record.
extern PluginModule plugin;

// Thrown by the error hook on a level-5 error; caught by the guarded run,
// so the unwinding destroys the Coin3D objects on the way.
struct InventorRunAborted {};

// Thrown when the input is refused, before or after Coin3D reads it; what()
// is the one message the guarded run reports before it ends the run.
struct InventorInputRefused : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// SoDB, SoNodeKit and SoInteraction, in that order; repeated calls are harmless.
void InitCoin_Inventor();

enum { kVrml2HeaderLength = 15 };
// Opens path in text mode and reads exactly 15 characters with fgetc, storing
// the end-of-file value as a byte past the end; false when it cannot be opened.
bool ReadFileHeader(const char *path, char header[kVrml2HeaderLength]);
// True when the 15 characters are exactly "#VRML V2.0 utf8".
bool IsVrml2Header(const char header[kVrml2HeaderLength]);

// The node's name when it has one, else the class word.
void NodeBaseName(SbString &result, const SoNode *node, const char *class_word);

// Asks the host whether the user wants to stop; 1 to stop, 0 to go on.
int CheckForAbort_Inventor();

#endif
