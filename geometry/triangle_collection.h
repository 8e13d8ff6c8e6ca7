// The triangle callback that fills the shape's polygon buffer.
#ifndef GEOMETRY_TRIANGLE_COLLECTION_H
#define GEOMETRY_TRIANGLE_COLLECTION_H

class SoCallbackAction;
class SoPrimitiveVertex;

// Stores one triangle in the next three vertex slots; the first one beyond
// the count is reported, later ones are dropped. Nothing here allocates.
void inventorCB_TrianglePrimitive(void *data, SoCallbackAction *action, const SoPrimitiveVertex *v1,
                                  const SoPrimitiveVertex *v2, const SoPrimitiveVertex *v3);

// The same for the segments of line sets and the points of point sets.
void inventorCB_LineSegmentPrimitive(void *data, SoCallbackAction *action, const SoPrimitiveVertex *v1,
                                     const SoPrimitiveVertex *v2);
void inventorCB_PointPrimitive(void *data, SoCallbackAction *action, const SoPrimitiveVertex *v);

#endif
