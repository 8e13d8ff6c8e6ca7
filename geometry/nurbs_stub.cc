// Temporary stand-in until the NURBS tessellator lands.
#include <Inventor/SoPrimitiveVertex.h>

#include "plugin/callbacks.h"

bool TessellateNurbsSurface(SoCallbackAction *, const SoNode *, std::vector<SoPrimitiveVertex> &, SbString &reason) {
  reason = "NURBS surface tessellation is not available";
  return false;
}
