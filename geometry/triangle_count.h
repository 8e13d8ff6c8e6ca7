// Triangles of a shape counted in advance, to size its polygon buffer.
#ifndef GEOMETRY_TRIANGLE_COUNT_H
#define GEOMETRY_TRIANGLE_COUNT_H

#include <cstdint>

#include "geometry/shape_classes.h"

// Counts the node by itself, from a fresh traversal state, so settings
// above it in the scene (a Complexity node) do not enter the count. Not for
// NURBS surfaces, which never reach Coin3D's tessellator.
int32_t CountShapeTriangles(SoNode *node, ShapeClass shape_class);

#endif
