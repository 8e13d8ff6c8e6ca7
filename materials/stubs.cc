// Temporary stand-ins until the material and texture subsystem lands.
#include "plugin/callbacks.h"

Response inventorCB_MaterialPre(void *, SoCallbackAction *, const SoNode *) { return SoCallbackAction::CONTINUE; }
Response inventorCB_Texture2Pre(void *, SoCallbackAction *, const SoNode *) { return SoCallbackAction::CONTINUE; }
void AssignShapeSurface(const SbString &, int, SoCallbackAction *) {}
void AssignFaceSurface(int, SoState *) {}
void GetVertexColor(int, int slot, float *colors, int, SoState *) {
  colors[3 * slot] = colors[3 * slot + 1] = colors[3 * slot + 2] = 0.8f;
}
