// Defining a new host surface from a material: channels, colours and
// shading coefficients through the user's modifiers, then the run's record.
#include "materials/surface_definition.h"

#include <cmath>
#include <cstdint>
#include <new>

#include "host/kv_call.hpp"
#include "host/kv_toolkit.h"
#include "materials/material_capture.h"
#include "state/state.h"

using kv::tok;

namespace {

// The coefficient an operation makes of c. Codes outside the dialog's
// range (a hand-edited preferences file) import the value unchanged.
float ModifiedCoefficient(int operation, float c, int code) {
  const float v = surf_attr_mod_value[code];
  switch (operation) {
    case kOpSetDefault: return surf_attr_table[code].default_value;
    case kOpSetValue: return v;
    case kOpCrop: return c > v ? v : c;
    case kOpScale: return v * c;
    default: return c;
  }
}

float ClampToAttribute(float r, int code) {
  const SurfAttrRow &row = surf_attr_table[code];
  if (r < row.minimum) return row.minimum;
  if (r > row.maximum) return row.maximum;
  return r;
}

// "Normalize color & coeff": the colour scaled so its largest component is
// 1, that component becoming the coefficient. Near-black colours stay as
// they are, with coefficient 1 (0 for the luminous colour).
float NormalizeColor(SbColor &color, int code) {
  const float m = std::fmax(color[0], std::fmax(color[1], color[2]));
  if (!(m > 0.001f)) return code == kAttrLuminous ? 0.0f : 1.0f;
  color.setValue(color[0] / m, color[1] / m, color[2] / m);
  return m;
}

// Truncation toward zero that stays defined for any float.
int32_t TruncateToInt32(double value) {
  if (std::isnan(value)) return 0;
  if (value <= -2147483648.0) return INT32_MIN;
  if (value >= 2147483647.0) return INT32_MAX;
  return static_cast<int32_t>(value);
}

void SendColorAttribute(const SbString &surface, const SbColor &color, float coefficient, int code) {
  const float rgb[3] = {color[0], color[1], color[2]};
  auto send = [&](const char *coefficient_word, auto... channel) {
    kv::kv_list(Kv_Surface, surface.getString(), channel..., tok("color"), tok("rgb"), rgb, KV_GROUP_END,
                tok("shadingcoeffs"), tok(coefficient_word), &coefficient);
  };
  if (code == kAttrDiffuse) send("diffuse");
  if (code == kAttrSpecular) send("specular", tok("specularcolor"));
  if (code == kAttrLuminous) send("luminous", tok("luminouscolor"));
}

void SendScalarAttribute(const SbString &surface, float value, int code) {
  if (code == kAttrPhong) {
    const int32_t shininess = TruncateToInt32(value);
    kv::kv_list(Kv_Surface, surface.getString(), tok("model"), tok("phong"), tok("shininess"), &shininess);
    // Our host's exact_shininess token: the exponent before truncation too
    // (Inventor's 0.02 is 2.56, not 2, and low exponents show the difference).
    if (plugin.state->options.exact_shininess == 1) {
      kv::kv_list(Kv_Surface, surface.getString(), tok("model"), tok("phong"), tok("exponent"), &value);
    }
  } else if (code == kAttrOpacity) {
    kv::kv_list(Kv_Surface, surface.getString(), tok("opacity"), tok("facecoeff"), &value);
  }
}

// Our host's import_ambient_color token: the ambient colour as the file
// gives it, with no coefficient (the ambient modifier has none to apply to;
// its setting stays unsent).
void SendAmbientColor(const SbString &surface, const SbColor &ambient) {
  if (plugin.state->options.import_ambient_color != 1) return;
  const float rgb[3] = {ambient[0], ambient[1], ambient[2]};
  kv::kv_list(Kv_Surface, surface.getString(), tok("ambientcolor"), tok("color"), tok("rgb"), rgb);
}

// Brings the surface into being with its colour channels and Phong shading on.
void SendSurfaceChannels(const SbString &surface) {
  kv::kv_list(Kv_Surface, surface.getString(), tok("specularcolor"), tok("enabled"), tok("on"), KV_GROUP_END,
              tok("luminouscolor"), tok("enabled"), tok("on"), KV_GROUP_END, tok("ambientcolor"), tok("enabled"),
              tok("on"), KV_GROUP_END, tok("model"), tok("phong"), KV_GROUP_END, tok("opacity"), KV_GROUP_END);
}

void ListSurface(const MaterialSnapshot &snapshot, const SbString &name) {
  MaterialSnapshot *record = new (std::nothrow) MaterialSnapshot(snapshot);
  if (record == nullptr) return;  // the surface exists; only its sharing is lost
  record->name = name;
  record->next = plugin.state->surface_list;
  plugin.state->surface_list = record;
}

}  // namespace

float OpacityFromTransparency(float transparency) {
  const bool invert = plugin.state->options.alpha_invert != 0;
  return invert ? transparency : static_cast<float>(1.0 - static_cast<double>(transparency));
}

int32_t PhongFromShininess(float shininess) { return TruncateToInt32(static_cast<double>(shininess) * 128.0); }

float ExactPhong(float shininess) { return static_cast<float>(static_cast<double>(shininess) * 128.0); }

void ApplyColorModifier(const SbString &surface, SbColor &color, float coefficient, int code) {
  const int operation = surf_attr_mod_operation[code];
  if (operation == kOpDoNotImport) return;
  const float r = operation == kOpNormalize ? NormalizeColor(color, code)
                                            : ModifiedCoefficient(operation, coefficient, code);
  SendColorAttribute(surface, color, ClampToAttribute(r, code), code);
}

void ApplyScalarModifier(const SbString &surface, float value, int code) {
  const int operation = surf_attr_mod_operation[code];
  if (operation == kOpDoNotImport) return;
  SendScalarAttribute(surface, ClampToAttribute(ModifiedCoefficient(operation, value, code), code), code);
}

SbString DefineSurface(const MaterialSnapshot &snapshot) {
  SbString name;
  InventorState &s = *plugin.state;
  MakeUniqueName(tok("surface"), s.surface_name_dict, s.surface_names, s.material_name, name);
  const bool textured = HasTexture(snapshot);
  const int32_t phong = PhongFromShininess(snapshot.shininess);
  float opacity = textured ? 1.0f : OpacityFromTransparency(snapshot.transparency);
  SbColor diffuse = snapshot.diffuse, specular = snapshot.specular, luminous = snapshot.emissive;

  SendSurfaceChannels(name);
  ApplyColorModifier(name, diffuse, textured ? 1.0f : 0.4f, kAttrDiffuse);
  ApplyColorModifier(name, specular, 0.7f, kAttrSpecular);
  ApplyColorModifier(name, luminous, 0.0f, kAttrLuminous);
  SendAmbientColor(name, snapshot.ambient);
  const bool exact = plugin.state->options.exact_shininess == 1;
  ApplyScalarModifier(name, exact ? ExactPhong(snapshot.shininess) : static_cast<float>(phong), kAttrPhong);
  if (opacity > 1.0f) opacity = 1.0f;
  ApplyScalarModifier(name, opacity, kAttrOpacity);

  plugin.state->surfaces_created++;
  ListSurface(snapshot, name);
  return name;
}
