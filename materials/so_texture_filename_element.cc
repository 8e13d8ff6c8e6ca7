#include "materials/so_texture_filename_element.h"

#include <Inventor/actions/SoCallbackAction.h>
#include <Inventor/misc/SoState.h>

#include "materials/materials.h"

SO_ELEMENT_SOURCE(SoTextureFilenameElement);

void SoTextureFilenameElement::initClass(void) {
  // Repeated conversions call this again; the type is made once.
  if (getClassTypeId() == SoType::badType()) {
    SO_ELEMENT_INIT_CLASS(SoTextureFilenameElement, inherited);
  }
}

SoTextureFilenameElement::~SoTextureFilenameElement() {}

void SoTextureFilenameElement::init(SoState *state) {
  inherited::init(state);
  filename.makeEmpty();
}

void SoTextureFilenameElement::set(SoState *const state, SoNode *const node, const SbString &name) {
  SoTextureFilenameElement *element =
      static_cast<SoTextureFilenameElement *>(SoReplacedElement::getElement(state, classStackIndex, node));
  if (element) element->filename = name;
}

const SbString &SoTextureFilenameElement::get(SoState *const state) {
  // A traversal that did not enable the element has no texture file name.
  static const SbString none;
  const SoTextureFilenameElement *element =
      static_cast<const SoTextureFilenameElement *>(getConstElement(state, classStackIndex));
  return element ? element->filename : none;
}

SbBool SoTextureFilenameElement::matches(const SoElement *element) const {
  return inherited::matches(element) &&
         static_cast<const SoTextureFilenameElement *>(element)->filename == filename;
}

SoElement *SoTextureFilenameElement::copyMatchInfo(void) const {
  SoTextureFilenameElement *element = static_cast<SoTextureFilenameElement *>(getTypeId().createInstance());
  element->filename = filename;
  element->nodeId = nodeId;
  return element;
}

void EnableTextureFilenameElement() {
  SoTextureFilenameElement::initClass();
  SoCallbackAction::enableElement(SoTextureFilenameElement::getClassTypeId(),
                                  SoTextureFilenameElement::getClassStackIndex());
}
