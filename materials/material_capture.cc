// The SoMaterial pre-callback, material capture from the traversal state,
// per-vertex colours and packed colours.
#include "materials/material_capture.h"

#include <Inventor/elements/SoAmbientColorElement.h>
#include <Inventor/elements/SoDiffuseColorElement.h>
#include <Inventor/elements/SoEmissiveColorElement.h>
#include <Inventor/elements/SoShininessElement.h>
#include <Inventor/elements/SoSpecularColorElement.h>
#include <Inventor/elements/SoTransparencyElement.h>
#include <Inventor/nodes/SoNode.h>

#include "materials/materials.h"
#include "materials/so_texture_filename_element.h"
#include "state/state.h"

namespace {

const SbColor kDefaultVertexColor(0.8f, 0.8f, 0.8f);

// Entry index of an element holding count values: out-of-range indices
// fall back to the first entry, so a short list never reads past its end.
// Coin3D gives no better answer to copy: its renderer, as built for release,
// reads such an index past the end of the packed colours (black or stray
// colours on screen, different for each shape size), and only a debug build
// clamps it into the list. Its triangle callback delivers every triangle
// whatever the colour indices, so nothing is lost by the fallback.
int EntryIndex(int index, int count) { return index >= 0 && index < count ? index : 0; }

template <typename Element>
SbColor ColorEntry(SoState *traversal, int index, const SbColor &fallback) {
  const Element *element = Element::getInstance(traversal);
  const int count = element->getNum();
  return count > 0 ? element->getArrayPtr()[EntryIndex(index, count)] : fallback;
}

template <typename Element>
float ScalarEntry(SoState *traversal, int index) {
  const Element *element = Element::getInstance(traversal);
  const int count = element->getNum();
  return count > 0 ? element->getArrayPtr()[EntryIndex(index, count)] : 0.0f;
}

// The diffuse colour at index; *transparency receives the packed alpha
// when the element is packed with transparency, and is left alone otherwise.
SbColor DiffuseEntry(SoState *traversal, int index, float *transparency) {
  const SoDiffuseColorElement *element = SoDiffuseColorElement::getInstance(traversal);
  const int count = element->getNum();
  if (count <= 0) return kDefaultVertexColor;
  index = EntryIndex(index, count);
  if (!element->isPacked()) return element->getColorArrayPtr()[index];
  float r, g, b, t;
  UnpackColor(element->getPackedArrayPtr()[index], r, g, b, t);
  if (transparency && element->hasPackedTransparency()) *transparency = t;
  return SbColor(r, g, b);
}

}  // namespace

SoCallbackAction::Response inventorCB_MaterialPre(void *, SoCallbackAction *, const SoNode *node) {
  // Only the name is read here: the values come from the elements when a
  // shape captures its material.
  const SbName &name = node->getName();
  plugin.state->material_name = name.getLength() > 0 ? name.getString() : "surface";
  return SoCallbackAction::CONTINUE;
}

void UnpackColor(uint32_t packed, float &r, float &g, float &b, float &transparency) {
  r = ((packed >> 24) & 0xff) / 255.0f;
  g = ((packed >> 16) & 0xff) / 255.0f;
  b = ((packed >> 8) & 0xff) / 255.0f;
  transparency = (255 - (packed & 0xff)) / 255.0f;
}

void CaptureColors(MaterialSnapshot &snapshot, SoState *traversal, const MaterialIndices &indices) {
  const SbColor black(0, 0, 0);
  // With packed colours Coin3D's transparency element reports the packed
  // count while its own array holds a single value: read only its first entry.
  const bool packed = SoDiffuseColorElement::getInstance(traversal)->isPacked();
  snapshot.transparency = ScalarEntry<SoTransparencyElement>(traversal, packed ? 0 : indices.transparency);
  snapshot.diffuse = DiffuseEntry(traversal, indices.diffuse, &snapshot.transparency);
  snapshot.ambient = ColorEntry<SoAmbientColorElement>(traversal, indices.ambient, black);
  snapshot.specular = ColorEntry<SoSpecularColorElement>(traversal, indices.specular, black);
  snapshot.emissive = ColorEntry<SoEmissiveColorElement>(traversal, indices.emissive, black);
  snapshot.shininess = ScalarEntry<SoShininessElement>(traversal, indices.shininess);
}

void CaptureTexture(MaterialSnapshot &snapshot, SoState *traversal) {
  snapshot.texture_file = SoTextureFilenameElement::get(traversal);
  snapshot.image = nullptr;
  if (snapshot.texture_file.getLength() == 0) {
    // Coin3D holds the pixels of a file texture here too (or its 2x2
    // placeholder when the file did not load): only embedded pixels count.
    SbVec2s size(0, 0);
    int components = 0;
    const unsigned char *pixels = SoTextureImageElement::getImage(traversal, size, components);
    if (size[0] > 0 && size[1] > 0 && components > 0) snapshot.image = pixels;
  }
  snapshot.wrap_s = SoTextureImageElement::getWrapS(traversal);
  snapshot.wrap_t = SoTextureImageElement::getWrapT(traversal);
  snapshot.name.makeEmpty();
  snapshot.next = nullptr;
}

void CaptureMaterial(MaterialSnapshot &snapshot, SoState *traversal, int ambient, int diffuse, int specular,
                     int emissive, int shininess, int transparency) {
  CaptureColors(snapshot, traversal, MaterialIndices{ambient, diffuse, specular, emissive, shininess, transparency});
  CaptureTexture(snapshot, traversal);
}

void SetDefaultMaterialColors(MaterialSnapshot &snapshot) {
  snapshot.ambient.setValue(0.2f, 0.2f, 0.2f);
  snapshot.diffuse.setValue(0.8f, 0.8f, 0.8f);
  snapshot.specular.setValue(0, 0, 0);
  snapshot.emissive.setValue(0, 0, 0);
  snapshot.shininess = 0.2f;
  snapshot.transparency = 0;
}

void CopyMaterialColors(MaterialSnapshot &to, const MaterialSnapshot &from) {
  to.ambient = from.ambient;
  to.diffuse = from.diffuse;
  to.specular = from.specular;
  to.emissive = from.emissive;
  to.shininess = from.shininess;
  to.transparency = from.transparency;
}

bool HasTexture(const MaterialSnapshot &snapshot) {
  return snapshot.texture_file.getLength() > 0 || snapshot.image != nullptr;
}

bool SameFaceMaterial(const MaterialSnapshot &a, const MaterialSnapshot &b) {
  return a.ambient == b.ambient && a.diffuse == b.diffuse && a.emissive == b.emissive &&
         a.specular == b.specular && a.transparency == b.transparency && a.shininess == b.shininess;
}

void GetVertexColor(int color_index, int slot, float *colors, int use_emissive, SoState *traversal) {
  const SbColor color = use_emissive
                            ? ColorEntry<SoEmissiveColorElement>(traversal, color_index, kDefaultVertexColor)
                            : DiffuseEntry(traversal, color_index, nullptr);
  float *out = colors + 3 * slot;
  out[0] = color[0];
  out[1] = color[1];
  out[2] = color[2];
}
