// Finish pass of a shape: the filled buffer becomes an object, and an
// instance carrying the shape's whole model matrix places it under the
// innermost enclosing group.
#include <Inventor/actions/SoCallbackAction.h>
#include <Inventor/elements/SoDrawStyleElement.h>
#include <Inventor/elements/SoModelMatrixElement.h>
#include <Inventor/elements/SoShapeHintsElement.h>

#include <string>

#include "geometry/geometry.h"
#include "geometry/mesh_passes.h"
#include "geometry/mesh_post_processing.h"
#include "geometry/shape_outline.h"
#include "host/import_io.h"
#include "host/kv_call.hpp"
#include "host/kv_toolkit.h"
#include "materials/materials.h"
#include "state/state.h"

namespace {

// Each triangle (segment, point) has its own vertices; welding is the
// host's job.
void IndexPrimitives(IndexedPolygons *polygons, int32_t primitives, int32_t corners) {
  for (int32_t t = 0; t < primitives; ++t) polygons->vertices_per_polygon[t] = corners;
  for (int32_t i = 0; i < corners * primitives; ++i) polygons->vertex_indices[i] = i;
}

// The polygons written: the triangles, segments or points delivered, or
// what an outline made of the triangles.
int32_t IndexShape(const ShapeAccumulator &shape) {
  if (shape.outline != ShapeOutline::kNone) return IndexOutline(shape);
  IndexPrimitives(shape.polygons, shape.triangle_count, shape.corners);
  return shape.triangle_count;
}

const InstanceRecord *EnclosingGroup() {
  const int count = plugin.state->parent_stack.getLength();
  return count > 0 ? static_cast<const InstanceRecord *>(plugin.state->parent_stack[count - 1]) : nullptr;
}

void DefineObject(const SbString &object) {
  kv::kv_list(Kv_Object_Define, object.getString());
  Import_IO_Output_Indexedpolygons(0, object.getString(), 0, 0.0f);
  // The end call takes no attributes: its list is just the end marker.
  Kv_Object_End(KV_LIST_END);
}

void TransformInstance(const SbString &instance, const SbMatrix &matrix) {
  float floats[16];
  MatrixToFloats(matrix, floats);
  kv::kv_list(Kv_Transform, kv::tok("instance"), instance.getString(), kv::tok("premultiply"), kv::tok("matrix"),
              floats);
}

void HideInstance(const SbString &instance) {
  kv::kv_list(Kv_Instance, instance.getString(), kv::tok("hidden"), kv::tok("enabled"), kv::tok("on"));
}

// Our host's cull_solid_shapes token: Inventor culls the back faces of
// faces whose ShapeHints promise a solid with a known vertex ordering
// (the host's meshes keep that ordering), and an open mesh then shows
// only its fronts.
void MarkCulledInstance(SoState *traversal, const SbString &instance) {
  const ShapeAccumulator &shape = plugin.state->shape;
  if (plugin.state->options.cull_solid_shapes != 1 || shape.corners != 3 || shape.outline != ShapeOutline::kNone) return;
  if (SoShapeHintsElement::getShapeType(traversal) != SoShapeHintsElement::SOLID ||
      SoShapeHintsElement::getVertexOrdering(traversal) == SoShapeHintsElement::UNKNOWN_ORDERING)
    return;
  kv::kv_list(Kv_Instance, instance.getString(), kv::tok("cullbackfaces"), kv::tok("enabled"), kv::tok("on"));
}

// Bounding box, unique name, definition, record and the host's post-processing.
SbString WriteObject(SoNode *node) {
  InventorState &s = *plugin.state;
  ShapeAccumulator &shape = s.shape;
  Import_IO_Compute_BoundingBox(shape.vertex_count, shape.polygons->positions);
  SbString object;
  MakeUniqueName(kv::tok("object"), s.object_name_dict, s.object_names, shape.base_name, object);
  DefineObject(object);
  NewObjectRecord(kPolygonMeshObject, object, node);
  ++s.objects_created;
  PostProcessMesh(object.getString());
  return object;
}

// The instance is attached last, once it is surfaced, placed and hidden.
void PlaceInstance(SoCallbackAction *action, SoNode *node, const SbString &object, const SbString &parent,
                   const SbMatrix &matrix) {
  InventorState &s = *plugin.state;
  const ShapeAccumulator &shape = s.shape;
  SbString instance;
  MakeUniqueName(kv::tok("instance"), s.instance_name_dict, s.instance_names, shape.base_name, instance);
  kv::kv_list(Kv_Add_Instance, kv::tok("instance"), instance.getString(), kv::tok("object"), object.getString());
  if (s.options.import_materials) {
    // Colours that travel in vertices or faces leave the instance the default material.
    const int use_default_material = shape.single_material && !shape.vertex_color_count ? 0 : 1;
    AssignShapeSurface(instance, use_default_material, action);
  }
  TransformInstance(instance, matrix);
  NewInstanceRecord(instance, object.hash(), parent.hash(), node, matrix);
  if (SoDrawStyleElement::get(action->getState()) == SoDrawStyleElement::INVISIBLE) HideInstance(instance);
  MarkCulledInstance(action->getState(), instance);
  kv::kv_list(Kv_Attach, kv::tok("instance"), instance.getString(), kv::tok("instance"), parent.getString());
}

// A colour index outside the shape's colours takes the first colour; said
// once per shape.
void ReportColorsPastEnd(const SbString &object, int32_t colors) {
  const std::string warning = std::string("Warning: object '") + object.getString() +
                              "' has colour indices outside its " + std::to_string(colors) +
                              " colours; those vertices take the first colour.";
  Import_IO_Report_Error(1, warning.c_str());
}

}  // namespace

int FinishShapePass(SoCallbackAction *action, SoNode *node) {
  ShapeAccumulator &shape = plugin.state->shape;
  if (!shape.polygons) return 0;
  plugin.state->polygons_output += IndexShape(shape);
  const InstanceRecord *parent = EnclosingGroup();
  const SbString parent_name = parent ? parent->name : SbString(plugin.root_instance_name);
  const SbMatrix matrix = SoModelMatrixElement::get(action->getState());
  ReleaseNormalCache(action, node);
  const SbString object = WriteObject(node);
  if (shape.colors_past_end) ReportColorsPastEnd(object, shape.material_color_count);
  PlaceInstance(action, node, object, parent_name, matrix);
  Import_IO_Free_Indexedpolygons();
  ResetShapeState();
  return 1;
}
