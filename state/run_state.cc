// Preparing the state record for a run and releasing what a run built.
#include <Inventor/SoInput.h>

#include "host/kv_toolkit.h"
#include "state/state.h"
#include "state/unique_naming.h"

namespace {

template <typename Record>
void FreeList(Record *&head) {
  while (head) {
    Record *next = head->next;
    delete head;
    head = next;
  }
}

void FreeOptionString(char *&field) {
  if (field) Kv_Free_Memory(field);
  field = nullptr;
}

// Record lists, name tables and the dictionaries that point into them.
void ReleaseRunRecords(InventorState &s) {
  s.parent_stack.truncate(0);
  FreeList(s.instance_list);
  FreeList(s.object_list);
  FreeList(s.camera_list);
  FreeList(s.light_list);
  FreeList(s.surface_list);
  for (NameEntry **names :
       {&s.instance_names, &s.object_names, &s.camera_names, &s.light_names, &s.surface_names, &s.texture_names}) {
    FreeNameEntries(*names);
  }
  for (SbDict *dict : {&s.instance_name_dict, &s.object_name_dict, &s.camera_name_dict, &s.light_name_dict,
                       &s.surface_name_dict, &s.texture_name_dict, &s.instance_dict, &s.object_dict}) {
    dict->clear();
  }
  s.name_keys.Clear();
}

}  // namespace

// Every member's reset value is its default.
void ResetShapeState() { plugin.state->shape = ShapeAccumulator(); }

// The lists are not released: a normal run left them empty, and an aborted
// one released them in AbandonRunRecords.
void ResetRunState(const char *path, SoNode *, SoInput *input) {
  ResetShapeState();
  InventorState &s = *plugin.state;
  s.file_name = path;
  s.input = input;
  for (int16_t &enabled : s.shape_type_enabled) enabled = 1;
  s.instance_names = s.object_names = s.camera_names = nullptr;
  s.light_names = s.surface_names = s.texture_names = nullptr;
  s.instance_list = nullptr;
  s.object_list = nullptr;
  s.camera_list = nullptr;
  s.light_list = nullptr;
  s.surface_list = nullptr;
  s.objects_created = s.polygons_output = 0;
  s.cameras_created = s.lights_created = s.surfaces_created = 0;
}

void AbandonRunRecords() {
  if (!plugin.state) return;
  ReleaseRunRecords(*plugin.state);
  ResetShapeState();
  plugin.state->input = nullptr;
  plugin.state->counted_alone.clear();
  // A run abandoned part-way may have left the kept count action inside a
  // traversal; the next run starts with a new one.
  plugin.state->count_action.reset();
}

void FreeInventorState() {
  if (!plugin.state) return;
  ReleaseRunRecords(*plugin.state);
  FreeOptionString(plugin.state->options.txtr_save_dir);
  FreeOptionString(plugin.state->options.txtr_ref_dir);
  plugin.state->file_name.makeEmpty();
  plugin.state->material_name.makeEmpty();
  plugin.state->shape.base_name.makeEmpty();
  delete plugin.state;
  plugin.state = nullptr;
}
