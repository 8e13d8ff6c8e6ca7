// Coin3D 4.0 builds the sides of a Text3 without a profile in font units
// scaled twice by the font size (its triangle pass multiplies the outline by
// the size before it multiplies each corner by it again), so at the default
// size of 10 the sides reach ten times past the letters. Its profile path
// scales once. For the shape's own traversal, a Text3 whose sides are drawn
// without a profile gets the straight profile that extrusion means: from
// depth 0 to depth 1 with no offset, which gives the same sides at the
// right size.
#include <Inventor/actions/SoCallbackAction.h>
#include <Inventor/elements/SoProfileCoordinateElement.h>
#include <Inventor/elements/SoProfileElement.h>
#include <Inventor/misc/SoState.h>
#include <Inventor/nodes/SoLinearProfile.h>
#include <Inventor/nodes/SoText3.h>

#include "geometry/geometry.h"

namespace {

SoLinearProfile *StraightProfile() {
  static SoLinearProfile *profile = [] {
    SoLinearProfile *made = new SoLinearProfile;
    made->ref();  // lives as long as the process, like Coin3D's own types
    const int32_t ends[] = {0, 1};
    made->index.setValues(0, 2, ends);
    return made;
  }();
  return profile;
}

bool NeedsStraightProfile(SoState *state, const SoNode *node) {
  const SoText3 *text = static_cast<const SoText3 *>(node);
  return (text->parts.getValue() & SoText3::SIDES) != 0 && SoProfileElement::get(state).getLength() == 0;
}

}  // namespace

SoCallbackAction::Response inventorCB_Text3Pre(void *, SoCallbackAction *action, const SoNode *node) {
  SoState *state = action->getState();
  state->push();
  if (NeedsStraightProfile(state, node)) {
    static const SbVec2f kDepths[] = {SbVec2f(0, 0), SbVec2f(1, 0)};
    SoLinearProfile *profile = StraightProfile();
    SoProfileCoordinateElement::set2(state, profile, 2, kDepths);
    SoProfileElement::add(state, profile);
  }
  return SoCallbackAction::CONTINUE;
}

SoCallbackAction::Response inventorCB_Text3Post(void *, SoCallbackAction *action, const SoNode *) {
  action->getState()->pop();
  return SoCallbackAction::CONTINUE;
}
