// Empty faces in an indexed face or triangle strip set: a -1 that opens the
// index list or follows another. Coin3D's tessellation stops at the first
// one, so every face after it would be lost, while its renderer draws them
// whenever it draws the shape from vertex arrays (as it does for large
// shapes). Taking the empty faces out of the node's copy in memory, with
// the same entries of the index fields laid out like coordIndex, makes the
// tessellation deliver every face.
#include <Inventor/nodes/SoIndexedFaceSet.h>
#include <Inventor/nodes/SoIndexedTriangleStripSet.h>

#include <vector>

#include "geometry/geometry.h"

namespace {

// Positions of coordIndex that end no face.
std::vector<bool> EmptyFaceEnds(const SoMFInt32 &coord_index, bool *any) {
  const int count = coord_index.getNum();
  const int32_t *values = coord_index.getValues(0);
  std::vector<bool> drop(static_cast<size_t>(count), false);
  *any = false;
  for (int i = 0; i < count; ++i) {
    if (values[i] != -1 || (i > 0 && values[i - 1] >= 0)) continue;
    drop[static_cast<size_t>(i)] = true;
    *any = true;
  }
  return drop;
}

// Drops the marked entries of a field laid out like coordIndex.
void DropEntries(SoMFInt32 &field, const std::vector<bool> &drop) {
  if (static_cast<size_t>(field.getNum()) != drop.size()) return;
  const int32_t *values = field.getValues(0);
  std::vector<int32_t> kept;
  kept.reserve(drop.size());
  for (size_t i = 0; i < drop.size(); ++i) {
    if (!drop[i]) kept.push_back(values[i]);
  }
  field.setValues(0, static_cast<int>(kept.size()), kept.data());
  field.setNum(static_cast<int>(kept.size()));
}

bool TakesEmptyFaces(const SoNode *node) {
  return node->isOfType(SoIndexedFaceSet::getClassTypeId()) ||
         node->isOfType(SoIndexedTriangleStripSet::getClassTypeId());
}

}  // namespace

bool DropEmptyFaces(SoNode *shape) {
  if (!TakesEmptyFaces(shape)) return false;
  SoIndexedShape *indexed = static_cast<SoIndexedShape *>(shape);
  bool any = false;
  const std::vector<bool> drop = EmptyFaceEnds(indexed->coordIndex, &any);
  if (!any) return false;
  for (SoMFInt32 *field : {&indexed->materialIndex, &indexed->normalIndex, &indexed->textureCoordIndex})
    DropEntries(*field, drop);
  DropEntries(indexed->coordIndex, drop);
  return true;
}
