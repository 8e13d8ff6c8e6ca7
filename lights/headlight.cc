// A camera's headlight: a directional light shining from the eye towards
// the target, made switched off.
#include "lights/light_definition.h"

void CreateHeadLight(const float eye[3], const float target[3], const SbString &camera) {
  const SbString name = UniqueLightName(camera + "_HeadLight");
  const float white[3] = {1.0f, 1.0f, 1.0f};
  const float towards[3] = {eye[0] - target[0], eye[1] - target[1], eye[2] - target[2]};
  DefineDirectionalLight(name, white, false, 1.0f, towards);
  RecordLight(name);
}
