// The state record as every folder of the plug-in sees it: the module
// record with the one InventorState, the run's records and unique naming,
// and the small services the traversal's callbacks share. It depends on
// nothing of the plug-in's other folders; they depend on it.
#ifndef STATE_STATE_H
#define STATE_STATE_H

#include <cstdint>
#include <cstdio>

#include <Inventor/SbMatrix.h>
#include <Inventor/SbString.h>

#include "host/host_records.h"
#include "host/platform_types.h"
#include "state/import_options.h"
#include "state/inventor_state.h"

class SbDict;
class SoInput;
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

// Asks the host whether the user wants to stop; 1 to stop, 0 to go on.
int CheckForAbort_Inventor();

// The node's name when it has one, else the class word.
void NodeBaseName(SbString &result, const SoNode *node, const char *class_word);

// ---- The run's records and names ------------------------------------------

// What an object record's kind says it was made from.
enum ObjectKind : int16_t { kPolygonMeshObject = 3 };

// Lists a new instance record (and enters it under its name); the record, null without memory.
InstanceRecord *NewInstanceRecord(const SbString &name, uint32_t object_hash, uint32_t parent_hash, SoNode *node,
                                  const SbMatrix &matrix);

// Lists a new object record (and enters it under its name).
void NewObjectRecord(ObjectKind kind, const SbString &name, SoNode *node);

// A name unique within its kind for the run: from the kind's table (quick naming) or the import support library.
void MakeUniqueName(Kv_Token kind, SbDict &dict, NameEntry *&list, const SbString &base, SbString &result);

// ---- The state's life -----------------------------------------------------

// File name, input, shape-class flags, list heads and counters for a new traversal.
void ResetRunState(const char *path, SoNode *root, SoInput *input);

// Gives every member of the current-shape accumulator its reset value.
void ResetShapeState();

// After an abort: releases the run's records, name tables and dictionaries and resets shape; the state stays.
void AbandonRunRecords();

// The end-of-run clean-up: releases everything the run built and the state record; state becomes null.
void FreeInventorState();

#endif
