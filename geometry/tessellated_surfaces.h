// NURBS surfaces go through our own tessellator: Coin3D's needs an OpenGL
// context and crashes without one. Their triangles are made in the begin
// pass and handed to the triangle callback by the shape pre-callback.
#ifndef GEOMETRY_TESSELLATED_SURFACES_H
#define GEOMETRY_TESSELLATED_SURFACES_H

#include <cstdint>

class SoCallbackAction;
class SoNode;

// Tessellates the surface into the shape's corner list and gives its triangle
// count; on failure reports one level-1 message naming the surface and
// answers false.
bool TessellateSurfaceShape(SoCallbackAction *action, const SoNode *node, int32_t &triangles);

// Hands the corner list to inventorCB_TrianglePrimitive, three at a time.
void DeliverTessellatedTriangles(SoCallbackAction *action);

#endif
