#include "lights/light_definition.h"

#include <new>

#include <Inventor/actions/SoCallbackAction.h>
#include <Inventor/elements/SoModelMatrixElement.h>
#include <Inventor/nodes/SoNode.h>

#include "geometry/geometry.h"
#include "host/kv_call.hpp"
#include "host/kv_toolkit.h"
#include "state/state.h"

using kv::tok;

SbString UniqueLightName(const SbString &wanted) {
  SbString name;
  MakeUniqueName(tok("light"), plugin.state->light_name_dict, plugin.state->light_names, wanted, name);
  return name;
}

void ModelMatrixFloats(SoCallbackAction *action, float matrix[16]) {
  MatrixToFloats(SoModelMatrixElement::get(action->getState()), matrix);
}

void TransformPoint(float p[3], const float matrix[16]) { Kv_Vector_Transform(1, 1, 1, 1, 1, 1, p, matrix, p); }

void DefineDirectionalLight(const SbString &name, const float color[3], bool on, float intensity,
                            const float shinedir[3]) {
  kv::kv_list(Kv_Light, name.getString(), tok("color"), tok("rgb"), color, KV_GROUP_END, tok("model"),
              tok("direction"), KV_GROUP_END, tok("enabled"), kv::on_off(on), KV_GROUP_END, tok("intensity"),
              &intensity, KV_GROUP_END, tok("shinedir"), shinedir, KV_GROUP_END);
}

void PushNamedRecord(NamedRecord *&list, const SbString &name) {
  // The list serves only the clean-up: a record that cannot be made is skipped.
  NamedRecord *record = new (std::nothrow) NamedRecord{name, list};
  if (record != nullptr) list = record;
}

void RecordLight(const SbString &name) {
  plugin.state->lights_created++;
  PushNamedRecord(plugin.state->light_list, name);
}
