// Group callbacks: each supported group becomes an empty instance, attached
// to the instance of the enclosing group once its subtree is done.
#include <Inventor/elements/SoModelMatrixElement.h>
#include <Inventor/nodes/SoLOD.h>

#include "host/import_io.h"
#include "host/kv_call.hpp"
#include "host/kv_toolkit.h"
#include "scene/group_hierarchy.h"
#include "scene/group_kinds.h"
#include "scene/scene.h"
#include "state/state.h"

namespace {

InstanceRecord *TopOfParentStack() {
  const int count = plugin.state->parent_stack.getLength();
  return count > 0 ? static_cast<InstanceRecord *>(plugin.state->parent_stack[count - 1]) : nullptr;
}

void UniqueInstanceName(const SbString &base, SbString &name) {
  InventorState &s = *plugin.state;
  MakeUniqueName(kv::tok("instance"), s.instance_name_dict, s.instance_names, base, name);
}

// The outermost group is the separator Coin3D's reader returns for the whole
// file: it stands for the root instance the import support library made,
// whose name its record keeps as it is, since the children are attached to it.
InstanceRecord *RecordRootGroup(SoNode *node) {
  const SbString root(plugin.root_instance_name);
  if (plugin.state->options.quick_naming == 1) {
    // Entered in the table so that later names never repeat it; what the
    // table makes of it ("x #2" counts as "x") is not the root's name.
    SbString registered;
    UniqueInstanceName(root, registered);
  }
  return NewInstanceRecord(root, 0, 0, node, SbMatrix::identity());
}

InstanceRecord *AddGroupInstance(SoNode *node, const char *word, const SbMatrix &matrix,
                                 const InstanceRecord &parent) {
  SbString base;
  NodeBaseName(base, node, word);
  SbString name;
  UniqueInstanceName(base, name);
  kv::kv_list(Kv_Add_Empty_Node, kv::tok("instance"), name.getString());
  return NewInstanceRecord(name, 0, parent.name.hash(), node, matrix);
}

}  // namespace

SoCallbackAction::Response inventorCB_GroupPre(void *, SoCallbackAction *action, const SoNode *const_node) {
  // Coin3D hands nodes as const; the LOD choice rewrites a field of the node.
  SoNode *node = const_cast<SoNode *>(const_node);
  const SbMatrix matrix = SoModelMatrixElement::get(action->getState());
  const char *word = GroupKindWord(node);
  if (!word) {
    Import_IO_Report_Error(1, "Unsupported group node encountered, skipping.");
    return SoCallbackAction::PRUNE;
  }
  if (node->getTypeId() == SoLOD::getClassTypeId()) ChooseLODChild(action, static_cast<SoLOD *>(node));
  const InstanceRecord *parent = TopOfParentStack();
  InstanceRecord *group = parent ? AddGroupInstance(node, word, matrix, *parent) : RecordRootGroup(node);
  plugin.state->parent_stack.append(group);
  return SoCallbackAction::CONTINUE;
}

// Coin3D calls this after a pruned pre-callback too: an unsupported group
// pushed nothing.
SoCallbackAction::Response inventorCB_GroupPost(void *, SoCallbackAction *, const SoNode *node) {
  if (!GroupKindWord(node)) return SoCallbackAction::PRUNE;
  const int count = plugin.state->parent_stack.getLength();
  if (count == 0) return SoCallbackAction::CONTINUE;
  const InstanceRecord *ended = static_cast<InstanceRecord *>(plugin.state->parent_stack[count - 1]);
  plugin.state->parent_stack.remove(count - 1);
  // The root instance is already attached by the import support library.
  if (count == 1) return SoCallbackAction::CONTINUE;
  const InstanceRecord *parent = TopOfParentStack();
  kv::kv_list(Kv_Attach, kv::tok("instance"), ended->name.getString(), kv::tok("instance"), parent->name.getString());
  return SoCallbackAction::CONTINUE;
}
