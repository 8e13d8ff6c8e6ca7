// An instance matrix as glTF node transforms. glTF requires a node matrix to
// decompose into translation x rotation x scale; a matrix with shear (a
// non-uniform scale under a rotation, common in Inventor's composed model
// matrices) does not, so it becomes two nested nodes: an outer
// translation-rotation-scale and an inner rotation, whose product is exactly
// the matrix (singular value decomposition).
#ifndef KAVREL_EXPORT_NODE_TRANSFORM_H
#define KAVREL_EXPORT_NODE_TRANSFORM_H

#include "kavrel/export/export_notes.h"
#include "kavrel/export/rotation.h"
#include "kavrel/toolkit/scene.h"

namespace kavrel {

struct NodeTransform {
  enum class Kind { kIdentity, kMatrix, kSplit };
  Kind kind = Kind::kIdentity;
  // kMatrix: glTF's column-major storage of its column-vector matrix, which
  // is our row-major row-vector matrix element for element.
  Matrix matrix{};
  Vec3 translation{0, 0, 0};                   // kSplit: the outer node
  Quaternion rotation{0, 0, 0, 1};             // kSplit: the outer node
  Vec3 scale{1, 1, 1};                         // kSplit: the outer node
  Quaternion inner_rotation{0, 0, 0, 1};       // kSplit: the inner node
};

// Non-finite elements become the identity's and a perspective part is
// dropped (both counted in notes).
NodeTransform NodeTransformFor(const Matrix &matrix, ExportNotes &notes);

// The same, split whatever the matrix (kIdentity or kSplit), for formats
// whose transforms always take a translation, rotations and a scale.
NodeTransform SplitNodeTransform(const Matrix &matrix, ExportNotes &notes);

}  // namespace kavrel

#endif
