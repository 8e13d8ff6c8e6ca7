// Which surface a mesh gets: one for a whole shape (linked to its instance)
// or one per face (named in the polygon buffer's surface-name slots).
#include <Inventor/elements/SoAmbientColorElement.h>
#include <Inventor/elements/SoDiffuseColorElement.h>
#include <Inventor/elements/SoEmissiveColorElement.h>
#include <Inventor/elements/SoShininessElement.h>
#include <Inventor/elements/SoSpecularColorElement.h>
#include <Inventor/elements/SoTransparencyElement.h>

#include "host/import_io.h"
#include "host/kv_call.hpp"
#include "host/kv_toolkit.h"
#include "materials/material_capture.h"
#include "materials/materials.h"
#include "materials/surface_sharing.h"
#include "state/state.h"

using kv::tok;

namespace {

// Indices of one face's material. The diffuse list decides which entries
// exist; the others follow the face only when they run alongside it.
MaterialIndices FaceMaterialIndices(int material_index, SoState *traversal) {
  const int diffuse = SoDiffuseColorElement::getInstance(traversal)->getNum();
  const int index = material_index >= 0 && material_index < diffuse ? material_index : 0;
  auto along = [&](int count) { return count == diffuse ? index : 0; };
  MaterialIndices indices;
  indices.diffuse = index;
  indices.ambient = along(SoAmbientColorElement::getInstance(traversal)->getNum());
  indices.specular = along(SoSpecularColorElement::getInstance(traversal)->getNum());
  indices.emissive = along(SoEmissiveColorElement::getInstance(traversal)->getNum());
  indices.shininess = along(SoShininessElement::getInstance(traversal)->getNum());
  indices.transparency = SoTransparencyElement::getInstance(traversal)->getNum() >= diffuse ? index : 0;
  return indices;
}

// Slot n of the current buffer's surface names; null when the buffer has
// none or n lies beyond it.
char **SurfaceNameSlot(int n) {
  IndexedPolygons *polygons = plugin.state->shape.polygons;
  if (polygons == nullptr || polygons->surface_names == nullptr) return nullptr;
  if (n < 0 || n >= polygons->num_polygons) return nullptr;
  return &polygons->surface_names[n];
}

}  // namespace

void AssignShapeSurface(const SbString &instance, int use_default_material, SoCallbackAction *action) {
  SoState *traversal = action->getState();
  MaterialSnapshot snapshot;
  CaptureMaterial(snapshot, traversal, 0, 0, 0, 0, 0, 0);
  if (use_default_material) SetDefaultMaterialColors(snapshot);
  const SbString &surface = FindOrDefineSurface(snapshot, traversal);
  kv::kv_list(Kv_Surfacelink, tok("surface"), surface.getString(), tok("instance"),
              instance.getString());
}

// Runs for every triangle: only the colours are read until they change.
void AssignFaceSurface(int material_index, SoState *traversal) {
  ShapeAccumulator &shape = plugin.state->shape;
  const int n = shape.triangles_received;
  MaterialSnapshot snapshot;
  CaptureColors(snapshot, traversal, FaceMaterialIndices(material_index, traversal));
  if (n > 0 && SameFaceMaterial(shape.last_face_material, snapshot)) return;
  CaptureTexture(snapshot, traversal);
  const SbString &surface = FindOrDefineSurface(snapshot, traversal);
  if (char **slot = SurfaceNameSlot(n)) Import_IO_Copy_String(slot, surface.getString());
  CopyMaterialColors(shape.last_face_material, snapshot);
}
