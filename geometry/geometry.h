// The geometry subsystem as the other folders see it: the shape callbacks
// the driver registers, and the matrix form the host takes.
#ifndef GEOMETRY_GEOMETRY_H
#define GEOMETRY_GEOMETRY_H

#include <Inventor/SbMatrix.h>
#include <Inventor/actions/SoCallbackAction.h>

#include <cstdint>

// SoVertexShape pre-callback: pushes the state and applies the vertex property.
SoCallbackAction::Response inventorCB_VertexShapePre(void *data, SoCallbackAction *action, const SoNode *node);
// SoShape pre-callback: the begin pass of a supported, enabled shape.
SoCallbackAction::Response inventorCB_ShapePre(void *data, SoCallbackAction *action, const SoNode *node);
// SoShape post-callback: the finish pass, which writes the mesh and its instance.
SoCallbackAction::Response inventorCB_ShapePost(void *data, SoCallbackAction *action, const SoNode *node);
// SoVertexShape post-callback: pops the state.
SoCallbackAction::Response inventorCB_VertexShapePost(void *data, SoCallbackAction *action, const SoNode *node);
// Bracket a Text3 so that its sides come out at the right size (see
// geometry/text3_sides.cc).
SoCallbackAction::Response inventorCB_Text3Pre(void *data, SoCallbackAction *action, const SoNode *node);
SoCallbackAction::Response inventorCB_Text3Post(void *data, SoCallbackAction *action, const SoNode *node);

// Triangles of one shape node counted by itself, as the begin pass counts
// them by default; 0 for classes that make none and for NURBS surfaces,
// which our tessellator bounds on its own.
uint64_t CountShapeNodeTriangles(SoNode *shape);

// Takes the empty faces (a -1 opening the list or following another) out
// of an indexed face or triangle strip set, where Coin3D's tessellation
// would stop; true when there were any.
bool DropEmptyFaces(SoNode *shape);

// Adds the triangle callback for every enabled shape class, in Coin3D's order.
void RegisterTriangleCallbacks(SoCallbackAction *action);

// An SbMatrix as 16 floats, row by row, translation in elements 12 to 14.
void MatrixToFloats(const SbMatrix &matrix, float out[16]);

#endif
