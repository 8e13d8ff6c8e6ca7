// ProcessShape and its two passes over one shape.
#ifndef GEOMETRY_MESH_PASSES_H
#define GEOMETRY_MESH_PASSES_H

class SoCallbackAction;
class SoNode;

// Counts the triangles, classifies the colours and allocates the buffer
// the triangle callback fills; 1 on success, 0 when the shape is skipped.
int BeginShapePass(SoCallbackAction *action, SoNode *node);

// Writes the filled buffer as an object and places its instance; 0 when
// the begin pass made no buffer.
int FinishShapePass(SoCallbackAction *action, SoNode *node);

// Frees the normals Coin3D generated and cached for a large vertex shape
// (geometry/normal_cache.cc); any other node is left alone.
void ReleaseNormalCache(SoCallbackAction *action, SoNode *node);

enum class ShapePass { kFinish = 0, kBegin = 1 };

// The abort poll, then the pass; 0 when stopped or skipped.
int ProcessShape(ShapePass pass, SoCallbackAction *action, SoNode *node);

#endif
