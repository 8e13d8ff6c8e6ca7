// Temporary stand-ins until the light and camera subsystem lands.
#include "plugin/callbacks.h"

Response inventorCB_DirectionalLight(void *, SoCallbackAction *, const SoNode *) { return SoCallbackAction::CONTINUE; }
Response inventorCB_PointLight(void *, SoCallbackAction *, const SoNode *) { return SoCallbackAction::CONTINUE; }
Response inventorCB_SpotLight(void *, SoCallbackAction *, const SoNode *) { return SoCallbackAction::CONTINUE; }
Response inventorCB_Camera(void *, SoCallbackAction *, const SoNode *) { return SoCallbackAction::CONTINUE; }
void CreateDefaultCamera() {}
