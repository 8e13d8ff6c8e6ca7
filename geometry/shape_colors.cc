#include "geometry/shape_colors.h"

#include <Inventor/SoInput.h>
#include <Inventor/elements/SoAmbientColorElement.h>
#include <Inventor/elements/SoDiffuseColorElement.h>
#include <Inventor/elements/SoEmissiveColorElement.h>
#include <Inventor/elements/SoMaterialBindingElement.h>
#include <Inventor/elements/SoSpecularColorElement.h>

#include "geometry/value_conversion.h"
#include "state/state.h"

namespace {

bool IsPerVertex(int32_t binding) {
  return binding == SoMaterialBindingElement::PER_VERTEX || binding == SoMaterialBindingElement::PER_VERTEX_INDEXED;
}

bool IsPerPartOrFace(int32_t binding) {
  return binding == SoMaterialBindingElement::PER_PART || binding == SoMaterialBindingElement::PER_PART_INDEXED ||
         binding == SoMaterialBindingElement::PER_FACE || binding == SoMaterialBindingElement::PER_FACE_INDEXED;
}

SbColor FirstDiffuseColor(const SoDiffuseColorElement *diffuse) {
  if (!diffuse->isPacked()) return diffuse->getColorArrayPtr()[0];
  SbColor color;
  float transparency;
  color.setPackedValue(diffuse->getPackedArrayPtr()[0], transparency);
  return color;
}

bool IsBlack(const SbColor &color) { return ColorEquals(color, 0, 0, 0); }

// VRML 1.0 files often carry per-vertex colours in the emissive list, with
// one black ambient, diffuse and specular colour: the colours then come
// from the emissive list.
bool ColorsAreEmissive(SoState *traversal) {
  if (!plugin.state->input || !plugin.state->input->isFileVRML1()) return false;
  const SoAmbientColorElement *ambient = SoAmbientColorElement::getInstance(traversal);
  const SoDiffuseColorElement *diffuse = SoDiffuseColorElement::getInstance(traversal);
  const SoSpecularColorElement *specular = SoSpecularColorElement::getInstance(traversal);
  const int32_t diffuse_count = diffuse->getNum();
  if (SoEmissiveColorElement::getInstance(traversal)->getNum() <= 1 || diffuse_count != 1) return false;
  if (ambient->getNum() != diffuse_count || specular->getNum() != diffuse_count) return false;
  return IsBlack(ambient->getArrayPtr()[0]) && IsBlack(FirstDiffuseColor(diffuse)) &&
         IsBlack(specular->getArrayPtr()[0]);
}

int32_t MaterialColorCount(SoState *traversal, int32_t binding) {
  if (IsPerVertex(binding) && ColorsAreEmissive(traversal)) {
    plugin.state->shape.colors_from_emissive = 1;
    return SoEmissiveColorElement::getInstance(traversal)->getNum();
  }
  return SoDiffuseColorElement::getInstance(traversal)->getNum();
}

}  // namespace

void ClassifyShapeColors(SoState *traversal, int32_t corners) {
  ShapeAccumulator &shape = plugin.state->shape;
  shape.material_binding = SoMaterialBindingElement::get(traversal);
  shape.material_color_count = MaterialColorCount(traversal, shape.material_binding);
  if (shape.material_binding == SoMaterialBindingElement::OVERALL || shape.material_color_count <= 1) {
    shape.single_material = 1;
  } else if (shape.in_vertex_shape == 1 && IsPerVertex(shape.material_binding)) {
    shape.single_material = 1;
    shape.vertex_color_count = corners;
  }
  if (!shape.single_material && !shape.vertex_color_count && IsPerPartOrFace(shape.material_binding)) {
    shape.per_face_materials = 1;
  }
}
