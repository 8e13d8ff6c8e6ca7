// The scene subsystem as the plug-in frame sees it: the conversion driver
// with the large stack it runs on, the input's header, Coin3D's set-up.
#ifndef SCENE_SCENE_H
#define SCENE_SCENE_H

#include <stdexcept>

#include "scene/large_stack.h"

// Reads one file with Coin3D, converts it into the host and releases the run and the state record.
void ReadAndConvertFile_Inventor(const char *path);

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

#endif
