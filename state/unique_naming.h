// Quick naming: the plug-in's own per-kind name tables.
#ifndef STATE_UNIQUE_NAMING_H
#define STATE_UNIQUE_NAMING_H

#include <Inventor/SbString.h>

#include "state/inventor_state.h"

class SbDict;

// The base name cleaned, then numbered " #n" from its second request on.
void QuickUniqueName(SbDict &dict, NameEntry *&list, const SbString &base, SbString &result);

// Releases one naming list.
void FreeNameEntries(NameEntry *&list);

#endif
