// Bookkeeping records of the instances and objects made in a run.
#include <new>

#include "host/import_io.h"
#include "state/state.h"

namespace {

template <typename Record>
void ListRecord(Record *record, Record *&head, SbDict &dict) {
  record->next = head;
  head = record;
  // Keyed on the name itself: only two records of one name are a naming error.
  if (!dict.enter(plugin.state->name_keys.Key(record->name.getString()), record))
    Import_IO_Report_Error(1, "Warning: internal naming error.");
}

}  // namespace

InstanceRecord *NewInstanceRecord(const SbString &name, uint32_t object_hash, uint32_t parent_hash, SoNode *node,
                                  const SbMatrix &matrix) {
  InstanceRecord *record = new (std::nothrow) InstanceRecord{parent_hash, object_hash, matrix, name, node, nullptr};
  if (!record) {
    Import_IO_Report_Error(5, "Out of memory while allocating instance.");
    return nullptr;
  }
  ListRecord(record, plugin.state->instance_list, plugin.state->instance_dict);
  return record;
}

void NewObjectRecord(ObjectKind kind, const SbString &name, SoNode *node) {
  ObjectRecord *record = new (std::nothrow) ObjectRecord{kind, name, node, nullptr};
  if (!record) {
    Import_IO_Report_Error(5, "Out of memory while allocating object.");
    return;
  }
  ListRecord(record, plugin.state->object_list, plugin.state->object_dict);
}
