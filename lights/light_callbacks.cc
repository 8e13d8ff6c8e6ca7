// Directional, point and spot light nodes become host lights, placed by the
// model matrix in force at the node (lights hang under no instance).
#include <Inventor/actions/SoCallbackAction.h>
#include <Inventor/elements/SoEnvironmentElement.h>
#include <Inventor/nodes/SoDirectionalLight.h>
#include <Inventor/nodes/SoPointLight.h>
#include <Inventor/nodes/SoSpotLight.h>

#include "geometry/geometry.h"
#include "host/kv_call.hpp"
#include "host/kv_toolkit.h"
#include "lights/light_definition.h"
#include "lights/lights.h"
#include "state/state.h"

using kv::tok;

namespace {

// What every light node carries besides its geometry.
struct LightBasics {
  SbString name;
  float color[3];
  float intensity;
  bool on;
  float matrix[16];
};

LightBasics ReadLight(SoCallbackAction *action, const SoLight *light, const char *class_word) {
  LightBasics basics;
  SbString wanted;
  NodeBaseName(wanted, light, class_word);
  basics.name = UniqueLightName(wanted);
  const SbColor &color = light->color.getValue();
  for (int k = 0; k < 3; ++k) basics.color[k] = color[k];
  basics.intensity = light->intensity.getValue();
  basics.on = light->on.getValue() == TRUE;
  ModelMatrixFloats(action, basics.matrix);
  return basics;
}

// The host's falloff: quadratic, linear or none, after the strongest
// non-zero term of the environment's attenuation (squared, linear, constant).
int32_t DecayFromAttenuation(SoCallbackAction *action) {
  const SbVec3f &attenuation = SoEnvironmentElement::getLightAttenuation(action->getState());
  if (attenuation[0] != 0.0f) return 2;
  if (attenuation[1] != 0.0f) return 1;
  return 0;
}

void TransformedVector(const SbVec3f &v, const float matrix[16], float out[3]) {
  out[0] = v[0];
  out[1] = v[1];
  out[2] = v[2];
  TransformPoint(out, matrix);
}

// Half of the cone's full angle, in degrees.
float CutoffDegrees(float cut_off_angle) {
  return static_cast<float>(static_cast<double>(cut_off_angle) * 0.5 / 3.141592653589793 * 180.0);
}

const float kDistance = 100.0f;

}  // namespace

SoCallbackAction::Response inventorCB_DirectionalLight(void *, SoCallbackAction *action, const SoNode *node) {
  const SoDirectionalLight *light = static_cast<const SoDirectionalLight *>(node);
  const LightBasics basics = ReadLight(action, light, "DirectionalLight");
  // Towards the light: the reversed direction through the whole matrix,
  // minus where the origin goes, which takes the translation out again.
  float towards[3];
  TransformedVector(light->direction.getValue() * -1.0f, basics.matrix, towards);
  float origin[3];
  Kv_Vector_Zero(origin);
  TransformPoint(origin, basics.matrix);
  for (int k = 0; k < 3; ++k) towards[k] -= origin[k];
  DefineDirectionalLight(basics.name, basics.color, basics.on, basics.intensity, towards);
  RecordLight(basics.name);
  return SoCallbackAction::CONTINUE;
}

SoCallbackAction::Response inventorCB_PointLight(void *, SoCallbackAction *action, const SoNode *node) {
  const SoPointLight *light = static_cast<const SoPointLight *>(node);
  const LightBasics basics = ReadLight(action, light, "PointLight");
  float position[3];
  TransformedVector(light->location.getValue(), basics.matrix, position);
  const int32_t decay = DecayFromAttenuation(action);
  kv::kv_list(Kv_Light, basics.name.getString(), tok("color"), tok("rgb"), basics.color, KV_GROUP_END,
              tok("model"), tok("point"), KV_GROUP_END, tok("enabled"), kv::on_off(basics.on), KV_GROUP_END,
              tok("intensity"), &basics.intensity, KV_GROUP_END, tok("decay"), &decay, KV_GROUP_END,
              tok("distance"), &kDistance, KV_GROUP_END, tok("shinefrom"), position, KV_GROUP_END);
  RecordLight(basics.name);
  return SoCallbackAction::CONTINUE;
}

SoCallbackAction::Response inventorCB_SpotLight(void *, SoCallbackAction *action, const SoNode *node) {
  const SoSpotLight *light = static_cast<const SoSpotLight *>(node);
  const LightBasics basics = ReadLight(action, light, "SpotLight");
  float position[3], aim[3];
  TransformedVector(light->location.getValue(), basics.matrix, position);
  // The aim goes through the same point transform as the position: the
  // host reads it as given.
  TransformedVector(light->direction.getValue(), basics.matrix, aim);
  const float cutoff = CutoffDegrees(light->cutOffAngle.getValue());
  const int32_t decay = DecayFromAttenuation(action);
  const float delta = 0.0f;
  kv::kv_list(Kv_Light, basics.name.getString(), tok("model"), tok("spot"), KV_GROUP_END, tok("color"), tok("rgb"),
              basics.color, KV_GROUP_END, tok("enabled"), kv::on_off(basics.on), KV_GROUP_END, tok("intensity"),
              &basics.intensity, KV_GROUP_END, tok("shineat"), aim, KV_GROUP_END, tok("shinefrom"), position,
              KV_GROUP_END, tok("cutoff"), &cutoff, KV_GROUP_END, tok("decay"), &decay, KV_GROUP_END,
              tok("delta"), &delta, KV_GROUP_END, tok("distance"), &kDistance, KV_GROUP_END);
  RecordLight(basics.name);
  return SoCallbackAction::CONTINUE;
}
