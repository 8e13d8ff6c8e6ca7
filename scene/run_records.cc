// Bookkeeping records of the instances and objects made in a run.
#include <new>

#include "host/import_io.h"
#include "plugin/callbacks.h"
#include "plugin/plugin_module.h"

namespace {

template <typename Record>
void ListRecord(Record *record, Record *&head, SbDict &dict) {
  record->next = head;
  head = record;
  if (!dict.enter(record->name.hash(), record)) Import_IO_Report_Error(1, "Warning: internal naming error.");
}

}  // namespace

void NewInstanceRecord(const SbString &name, uint32_t object_hash, uint32_t parent_hash, SoNode *node,
                       const SbMatrix &matrix) {
  InstanceRecord *record = new (std::nothrow) InstanceRecord{parent_hash, object_hash, matrix, name, node, nullptr};
  if (!record) {
    Import_IO_Report_Error(5, "Out of memory while allocating instance.");
    return;
  }
  ListRecord(record, state->instance_list, state->instance_dict);
}

void NewObjectRecord(int16_t kind, const SbString &name, SoNode *node) {
  ObjectRecord *record = new (std::nothrow) ObjectRecord{kind, name, node, nullptr};
  if (!record) {
    Import_IO_Report_Error(5, "Out of memory while allocating object.");
    return;
  }
  ListRecord(record, state->object_list, state->object_dict);
}
