#include "scene/binary_value_size.h"

#include <Inventor/SbMatrix.h>
#include <Inventor/SbPlane.h>
#include <Inventor/SbRotation.h>
#include <Inventor/SbString.h>
#include <Inventor/SbTime.h>
#include <Inventor/SbVec2d.h>
#include <Inventor/SbVec2f.h>
#include <Inventor/SbVec3d.h>
#include <Inventor/SbVec3f.h>
#include <Inventor/SbVec4d.h>
#include <Inventor/SbVec4f.h>
#include <Inventor/fields/SoMFColor.h>
#include <Inventor/fields/SoMFColorRGBA.h>
#include <Inventor/fields/SoMFDouble.h>
#include <Inventor/fields/SoMFMatrix.h>
#include <Inventor/fields/SoMFName.h>
#include <Inventor/fields/SoMFNode.h>
#include <Inventor/fields/SoMFPlane.h>
#include <Inventor/fields/SoMFRotation.h>
#include <Inventor/fields/SoMFString.h>
#include <Inventor/fields/SoMFTime.h>
#include <Inventor/fields/SoMFVec2d.h>
#include <Inventor/fields/SoMFVec2f.h>
#include <Inventor/fields/SoMFVec3d.h>
#include <Inventor/fields/SoMFVec3f.h>
#include <Inventor/fields/SoMFVec4d.h>
#include <Inventor/fields/SoMFVec4f.h>
#include <Inventor/nodes/SoNode.h>

#include <algorithm>
#include <utility>

namespace {

struct ValueSize {
  SoType (*type)();
  size_t size;
};

// The fields whose values are larger than 4 bytes; the others hold
// numbers of 4 bytes or fewer.
const ValueSize kLargeValues[] = {
    {SoMFMatrix::getClassTypeId, sizeof(SbMatrix)},  {SoMFString::getClassTypeId, sizeof(SbString)},
    {SoMFVec4d::getClassTypeId, sizeof(SbVec4d)},    {SoMFVec3d::getClassTypeId, sizeof(SbVec3d)},
    {SoMFVec2d::getClassTypeId, sizeof(SbVec2d)},    {SoMFPlane::getClassTypeId, sizeof(SbPlane)},
    {SoMFRotation::getClassTypeId, sizeof(SbRotation)}, {SoMFVec4f::getClassTypeId, sizeof(SbVec4f)},
    {SoMFColorRGBA::getClassTypeId, sizeof(SbVec4f)}, {SoMFVec3f::getClassTypeId, sizeof(SbVec3f)},
    {SoMFColor::getClassTypeId, sizeof(SbVec3f)},    {SoMFVec2f::getClassTypeId, sizeof(SbVec2f)},
    {SoMFDouble::getClassTypeId, sizeof(double)},    {SoMFTime::getClassTypeId, sizeof(SbTime)},
    {SoMFName::getClassTypeId, sizeof(SbName)},      {SoMFNode::getClassTypeId, sizeof(SoNode *)},
};

size_t LargestValue() {
  size_t most = 4;
  for (const ValueSize &entry : kLargeValues) most = std::max(most, entry.size);
  return most;
}

}  // namespace

size_t BinaryValueSize(SoType node_type, const SbName &field) {
  if (node_type.isBad() || !node_type.canCreateInstance()) return LargestValue();
  SoNode *node = static_cast<SoNode *>(node_type.createInstance());
  node->ref();
  const SoField *value = node->getField(field);
  const SoType type = value ? value->getTypeId() : SoType::badType();
  node->unref();
  if (type.isBad()) return LargestValue();
  for (const ValueSize &entry : kLargeValues)
    if (type.isDerivedFrom(entry.type())) return entry.size;
  return 4;
}
