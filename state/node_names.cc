#include "state/state.h"

#include <Inventor/nodes/SoNode.h>

void NodeBaseName(SbString &result, const SoNode *node, const char *class_word) {
  const SbName name = node->getName();
  if (name.getLength() > 0) {
    result = name.getString();
  } else {
    result = class_word;
  }
}
