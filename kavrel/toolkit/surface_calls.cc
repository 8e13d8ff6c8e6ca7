// Kv_Surface and Kv_Surfacelink: surfaces, their texture layers and links.
#include <cstdarg>

#include "host/kv_toolkit.h"
#include "kavrel/toolkit/call_recorder.h"

namespace kavrel {
namespace {

// Applies attributes in list order: a "texture" attribute selects (or
// adds) the layer that the layer attributes after it change.
class SurfaceEditor {
 public:
  SurfaceEditor(CallRecorder &call, Surface &surface) : call_(call), surface_(surface) {}

  void apply(const Attribute &a) {
    switch (a.id()) {
      case Attr::kSpecularEnabled: surface_.specular_enabled = a.on(); break;
      case Attr::kLuminousEnabled: surface_.luminous_enabled = a.on(); break;
      case Attr::kAmbientEnabled: surface_.ambient_enabled = a.on(); break;
      case Attr::kSurfaceModel: surface_.model = *a.word; break;
      case Attr::kShininess:
        surface_.phong_shininess = static_cast<int32_t>(a.integer);
        surface_.phong_exponent = -1.0f;       // an exponent sent before belonged to the old value
        break;
      case Attr::kShininessExponent: surface_.phong_exponent = a.number(); break;
      case Attr::kAmbientColor: surface_.ambient_color = a.vec3(); break;
      case Attr::kOpacity: surface_.opacity = a.number(); break;
      case Attr::kDiffuseColor: surface_.diffuse_color = a.vec3(); break;
      case Attr::kDiffuseCoeff: surface_.diffuse_coeff = a.number(); break;
      case Attr::kSpecularColor: surface_.specular_color = a.vec3(); break;
      case Attr::kSpecularCoeff: surface_.specular_coeff = a.number(); break;
      case Attr::kLuminousColor: surface_.luminous_color = a.vec3(); break;
      case Attr::kLuminousCoeff: surface_.luminous_coeff = a.number(); break;
      case Attr::kLayer: select_layer(a.text); break;
      default: apply_to_layer(a); break;
    }
  }

 private:
  void select_layer(const std::string &name) {
    for (TextureLayer &layer : surface_.layers) {
      if (layer.layer == name) {
        layer_ = &layer;
        return;
      }
    }
    surface_.layers.emplace_back();
    layer_ = &surface_.layers.back();
    layer_->layer = name;
  }

  void apply_to_layer(const Attribute &a) {
    if (!layer_) return;  // the table only reaches layer attributes after "texture"
    switch (a.id()) {
      case Attr::kLayerEnabled: layer_->enabled = a.on(); break;
      case Attr::kLayerTexture:
        if (FindNamed(call_, call_.host().scene().textures, a.text, "texture")) layer_->texture = a.text;
        break;
      case Attr::kLayerUScale: layer_->uscale = a.number(); break;
      case Attr::kLayerVScale: layer_->vscale = a.number(); break;
      case Attr::kLayerUOffset: layer_->uoffset = a.number(); break;
      case Attr::kLayerVOffset: layer_->voffset = a.number(); break;
      case Attr::kLayerModulate: layer_->alpha_modulates_opacity = a.on(); break;
      default: break;  // kLayerModulateSource: the alpha channel is the only source
    }
  }

  CallRecorder &call_;
  Surface &surface_;
  TextureLayer *layer_ = nullptr;
};

int DefineSurface(Host &host, const char *name, ListReader &list) {
  auto apply = [&](CallRecorder &call) {
    SurfaceEditor editor(call, host.scene().surfaces.get_or_add(name));
    for (const Attribute &attribute : call.attributes()) editor.apply(attribute);
  };
  return DefineWithAttributes(host, "Kv_Surface", "surface name", Family::kSurface, name, list, apply);
}

int LinkSurface(Host &host, Kv_Token kind, const char *name, ListReader &list) {
  CallRecorder call(host, "Kv_Surfacelink", CallEffect::kLeavesMeshes);
  Attr id;
  if (!call.kind(kind, &id) || !call.text(name, "surface name")) return call.finish();
  if (id != Attr::kKindSurface) call.fail("this call takes the kind \"surface\"");
  if (!call.list(Family::kSurfaceLink, list) || call.failed()) return call.finish();
  if (!FindNamed(call, host.scene().surfaces, name, "surface")) return call.finish();
  if (call.attributes().empty()) call.fail("no instance given");
  for (const Attribute &attribute : call.attributes()) {
    int32_t instance = FindInstance(call, attribute.text);
    if (instance != kNone) host.scene().instances.items[instance].surface = name;
  }
  return call.finish();
}

}  // namespace
}  // namespace kavrel

extern "C" int Kv_Surface(const char *surface, ...) {
  KAVREL_LIST_AFTER(surface, list);
  return kavrel::DefineSurface(kavrel::CurrentHost(), surface, list);
}

extern "C" int Kv_Surfacelink(Kv_Token kind, const char *surface, ...) {
  KAVREL_LIST_AFTER(surface, list);
  return kavrel::LinkSurface(kavrel::CurrentHost(), kind, surface, list);
}
