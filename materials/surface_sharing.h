// One host surface per distinct material of a run: the equality rules and
// the index that finds an equal surface in constant expected time.
#ifndef MATERIALS_SURFACE_SHARING_H
#define MATERIALS_SURFACE_SHARING_H

#include "state/inventor_state.h"

class SoState;

// True when a surface made from b may stand for a: the four colours,
// shininess and transparency exactly equal (no tolerance, a NaN equals
// nothing), the same texture file (or, without one, the same embedded
// pixels), and the same wrap modes unless neither has a texture.
bool SurfacesEqual(const MaterialSnapshot &a, const MaterialSnapshot &b);

// The newest equal surface of the run, or null.
MaterialSnapshot *FindSharedSurface(const MaterialSnapshot &snapshot);

// The name of the run's surface equal to the snapshot; defines the surface
// and its texture first when there is none. Sets the snapshot's name.
const SbString &FindOrDefineSurface(MaterialSnapshot &snapshot, SoState *traversal);

#endif
