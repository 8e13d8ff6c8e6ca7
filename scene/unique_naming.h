// Quick naming: the plug-in's own per-kind name tables.
#ifndef SCENE_UNIQUE_NAMING_H
#define SCENE_UNIQUE_NAMING_H

#include <Inventor/SbString.h>

#include "plugin/inventor_state.h"

class SbDict;

// The base name cleaned, then numbered " #n" from its second request on.
void QuickUniqueName(SbDict &dict, NameEntry *&list, const SbString &base, SbString &result);

// Releases one naming list.
void FreeNameEntries(NameEntry *&list);

#endif
