// Coin3D follows a shape's indices into its coordinate, normal and texture
// coordinate arrays without checking them, and walks its normal, texture
// coordinate and material index fields as far as the bindings say without
// looking at their lengths: on a damaged file it reads past their ends (or
// through a missing material index field). A shape whose indices do not fit
// what the state holds is refused before Coin3D generates its triangles.
#ifndef GEOMETRY_SHAPE_INDEX_CHECK_H
#define GEOMETRY_SHAPE_INDEX_CHECK_H

#include <string>

#include "geometry/shape_classes.h"

class SoNode;
class SoState;

// "" when every index the shape's triangles will follow lies inside its
// array and every vertex count can be walked, else a description of the
// first that does not or cannot.
std::string FindIndexOutOfRange(SoState *state, const SoNode *node, ShapeClass shape_class);

#endif
