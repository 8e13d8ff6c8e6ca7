// Triangles of a shape counted in advance, to size its polygon buffer.
#ifndef GEOMETRY_TRIANGLE_COUNT_H
#define GEOMETRY_TRIANGLE_COUNT_H

#include <cstdint>

class SoCallbackAction;
class SoState;

#include "geometry/shape_classes.h"

// Counts the node by itself, from a fresh traversal state, so settings
// above it in the scene (a Complexity node) do not enter the count. Not for
// NURBS surfaces, which never reach Coin3D's tessellator.
int32_t CountShapeTriangles(SoNode *node, ShapeClass shape_class);

// Counts the triangles Coin3D delivers for the node in the action's current
// state (a Complexity above it included): the shape generates them once
// through the action's triangle callbacks, which only count while no
// buffer exists. Not for NURBS surfaces either.
int32_t CountShapeTrianglesInState(SoCallbackAction *action, SoNode *node, ShapeClass shape_class);

// The triangles Coin3D will deliver for a cube, cone, cylinder or sphere in
// the traversal's state, told without tessellating it, or 0 when that
// cannot be told: the node's own count under the default complexity for
// the first three, arithmetic for a sphere at an object-space complexity
// up to 4.
int32_t PredictPrimitiveTriangles(SoState *traversal, SoNode *node, ShapeClass shape_class);

#endif
