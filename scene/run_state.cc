// Preparing the state record for a run and releasing what a run built.
#include <Inventor/SoInput.h>

#include "host/kv_toolkit.h"
#include "plugin/callbacks.h"
#include "plugin/plugin_module.h"

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
  ClearSurfaceIndex();
  for (NameEntry **names :
       {&s.instance_names, &s.object_names, &s.camera_names, &s.light_names, &s.surface_names, &s.texture_names}) {
    FreeNameEntries(*names);
  }
  for (SbDict *dict : {&s.instance_name_dict, &s.object_name_dict, &s.camera_name_dict, &s.light_name_dict,
                       &s.surface_name_dict, &s.texture_name_dict, &s.instance_dict, &s.object_dict}) {
    dict->clear();
  }
}

}  // namespace

void ResetShapeState() {
  ShapeAccumulator &shape = state->shape;
  shape.material_binding = 2;
  shape.material_color_count = 0;
  shape.triangles_received = 0;
  shape.base_name.makeEmpty();
  shape.in_vertex_shape = 0;
  shape.single_material = 0;
  shape.colors_from_emissive = 0;
  shape.last_face_material.image = nullptr;
  shape.last_face_material.next = nullptr;
  shape.polygons = nullptr;
  shape.per_face_materials = 0;
  shape.clockwise = 0;
  shape.triangle_count = 0;
  shape.vertex_index_count = 0;
  shape.vertex_count = 0;
  shape.normal_count = 0;
  shape.vertex_color_count = 0;
  shape.texcoord_count = 0;
  shape.data_flags = 0;
  shape.nurbs_corners.clear();
}

// The lists are not released: a normal run left them empty, and an aborted
// one released them in AbandonRunRecords.
void ResetRunState(const char *path, SoNode *, SoInput *input) {
  ResetShapeState();
  state->file_name = path;
  state->input = input;
  for (int16_t &enabled : state->shape_type_enabled) enabled = 1;
  state->instance_names = state->object_names = state->camera_names = nullptr;
  state->light_names = state->surface_names = state->texture_names = nullptr;
  state->instance_list = nullptr;
  state->object_list = nullptr;
  state->camera_list = nullptr;
  state->light_list = nullptr;
  state->surface_list = nullptr;
  state->objects_created = state->polygons_output = 0;
  state->cameras_created = state->lights_created = state->surfaces_created = 0;
}

void AbandonRunRecords() {
  if (!state) return;
  ReleaseRunRecords(*state);
  ResetShapeState();
  state->input = nullptr;
}

void FreeInventorState() {
  if (!state) return;
  ReleaseRunRecords(*state);
  FreeOptionString(state->options.txtr_save_dir);
  FreeOptionString(state->options.txtr_ref_dir);
  state->file_name.makeEmpty();
  state->material_name.makeEmpty();
  state->shape.base_name.makeEmpty();
  delete state;
  state = nullptr;
}
