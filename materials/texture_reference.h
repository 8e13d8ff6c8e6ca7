// The host texture of a new textured surface.
#ifndef MATERIALS_TEXTURE_REFERENCE_H
#define MATERIALS_TEXTURE_REFERENCE_H

#include "state/inventor_state.h"

class SoState;

// Defines and links the texture of a surface just made from the snapshot;
// nothing when texture references are off or the snapshot has no texture.
void DefineTexture(const MaterialSnapshot &snapshot, SoState *traversal);

#endif
