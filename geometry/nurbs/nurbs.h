// Our own NURBS surface tessellator, as the plug-in's geometry uses it.
// Coin3D's own tessellator needs an OpenGL context and crashes without a
// display, so NURBS surfaces never reach it.
#ifndef GEOMETRY_NURBS_NURBS_H
#define GEOMETRY_NURBS_NURBS_H

#include <vector>

#include <Inventor/SbString.h>
#include <Inventor/SoPrimitiveVertex.h>

class SoCallbackAction;
class SoNode;

// Fills corners (3 per triangle, in delivery order) for the surface node in
// the action's current state; false with a reason when it cannot.
bool TessellateNurbsSurface(SoCallbackAction *action, const SoNode *node, std::vector<SoPrimitiveVertex> &corners,
                            SbString &reason);
// The same, and warning (when not null) receives what the surface could not
// honour although it was imported: trim curves or texture coordinates that
// were ignored. Empty when there is nothing to say; otherwise a lower-case
// phrase about the surface, to be reported once at level 1.
bool TessellateNurbsSurface(SoCallbackAction *action, const SoNode *node, std::vector<SoPrimitiveVertex> &corners,
                            SbString &reason, SbString *warning);

#endif
