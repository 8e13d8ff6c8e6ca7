#include "scene/group_kinds.h"

#include <Inventor/nodes/SoAnnotation.h>
#include <Inventor/nodes/SoArray.h>
#include <Inventor/nodes/SoGroup.h>
#include <Inventor/nodes/SoLOD.h>
#include <Inventor/nodes/SoMultipleCopy.h>
#include <Inventor/nodes/SoPathSwitch.h>
#include <Inventor/nodes/SoSelection.h>
#include <Inventor/nodes/SoSeparator.h>
#include <Inventor/nodes/SoSwitch.h>
#include <Inventor/nodes/SoTransformSeparator.h>
#include <Inventor/nodes/SoWWWAnchor.h>

namespace {

struct GroupKind {
  SoType (*type)();
  const char *word;
};

const GroupKind kGroupKinds[] = {
    {&SoGroup::getClassTypeId, "Group"},
    {&SoPathSwitch::getClassTypeId, "PathSwitch"},
    {&SoSeparator::getClassTypeId, "Separator"},
    {&SoAnnotation::getClassTypeId, "Annotation"},
    {&SoSelection::getClassTypeId, "Selection"},
    {&SoSwitch::getClassTypeId, "Switch"},
    {&SoArray::getClassTypeId, "Array"},
    {&SoMultipleCopy::getClassTypeId, "MultipleCopy"},
    {&SoTransformSeparator::getClassTypeId, "TransformSeparator"},
    {&SoLOD::getClassTypeId, "LOD"},
    {&SoWWWAnchor::getClassTypeId, "WWWAnchor"},
};

}  // namespace

const char *GroupKindWord(const SoNode *node) {
  const SoType type = node->getTypeId();
  for (const GroupKind &kind : kGroupKinds) {
    if (type == kind.type()) return kind.word;
  }
  return nullptr;
}
