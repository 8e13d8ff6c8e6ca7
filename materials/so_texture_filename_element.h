// Traversal-state element holding the current texture file name, so that
// it follows the state's push and pop like Coin3D's own elements.
#ifndef MATERIALS_SO_TEXTURE_FILENAME_ELEMENT_H
#define MATERIALS_SO_TEXTURE_FILENAME_ELEMENT_H

#include <Inventor/SbString.h>
#include <Inventor/elements/SoReplacedElement.h>

class SoTextureFilenameElement : public SoReplacedElement {
  typedef SoReplacedElement inherited;
  SO_ELEMENT_HEADER(SoTextureFilenameElement);

 public:
  static void initClass(void);
  virtual void init(SoState *state);
  static void set(SoState *const state, SoNode *const node, const SbString &name);
  static const SbString &get(SoState *const state);
  virtual SbBool matches(const SoElement *element) const;
  virtual SoElement *copyMatchInfo(void) const;

 protected:
  virtual ~SoTextureFilenameElement();
  SbString filename;
};

#endif
