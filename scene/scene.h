// The scene subsystem as the other folders see it: the conversion driver,
// the run's records and unique naming.
#ifndef SCENE_SCENE_H
#define SCENE_SCENE_H

#include <cstdint>

#include <Inventor/SbMatrix.h>
#include <Inventor/SbString.h>

#include "host/host_records.h"
#include "plugin/inventor_state.h"

class SbDict;
class SoNode;

// Reads one file with Coin3D, converts it into the host and releases the run and the state record.
void ReadAndConvertFile_Inventor(const char *path);

// The end-of-run clean-up: releases everything the run built and the state record; state becomes null.
void FreeInventorState();

// After an abort: releases the run's records, name tables and dictionaries and resets shape; the state stays.
void AbandonRunRecords();

// Gives every member of the current-shape accumulator its reset value.
void ResetShapeState();

// Lists a new instance record (and enters it under the hash of its name); the record, null without memory.
InstanceRecord *NewInstanceRecord(const SbString &name, uint32_t object_hash, uint32_t parent_hash, SoNode *node,
                                  const SbMatrix &matrix);

// Lists a new object record (and enters it under the hash of its name).
void NewObjectRecord(int16_t kind, const SbString &name, SoNode *node);

// A name unique within its kind for the run: from the kind's table (quick naming) or the import support library.
void MakeUniqueName(Kv_Token kind, SbDict &dict, NameEntry *&list, const SbString &base, SbString &result);

#endif
