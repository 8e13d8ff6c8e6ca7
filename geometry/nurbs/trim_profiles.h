// Trim loops from the profiles in the traversal state (SoProfileElement):
// SoLinearProfile and SoNurbsProfile over the current profile coordinates.
#ifndef GEOMETRY_NURBS_TRIM_PROFILES_H
#define GEOMETRY_NURBS_TRIM_PROFILES_H

#include <string>
#include <vector>

#include "geometry/nurbs/trimming.h"

class SoState;

// Appends one loop per profile that starts a loop (START_FIRST, START_NEW,
// and the first profile in any case); ADD_TO_CURRENT profiles continue the
// loop before them. NURBS profiles are sampled at curve_segments per knot
// span. False with the problem, and no loops, when a profile cannot be read;
// the surface is then imported untrimmed. Coin3D's own profile evaluation is
// not used: for NURBS profiles it goes through the GLU tessellator.
bool ReadTrimLoops(SoState *state, int curve_segments, std::vector<nurbs::TrimLoop> &loops, std::string &problem);

#endif
