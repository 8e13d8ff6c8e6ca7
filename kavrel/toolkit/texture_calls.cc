// Kv_Texture: image textures and their alpha, wrap and filter settings.
#include <cstdarg>

#include "host/kv_toolkit.h"
#include "kavrel/toolkit/call_recorder.h"

namespace kavrel {
namespace {

void ApplyTextureAttribute(Texture &texture, const Attribute &a) {
  switch (a.id()) {
    case Attr::kTextureImage:
      texture.file_type = static_cast<int32_t>(a.integer);
      texture.path = a.text;
      break;
    case Attr::kTextureEnabled: texture.enabled = a.on(); break;
    case Attr::kAlphaSource: texture.alpha_source = *a.word; break;
    case Attr::kAlphaInvert: texture.alpha_invert = a.on(); break;
    case Attr::kWrapU: texture.wrap_u = a.on(); break;
    case Attr::kWrapV: texture.wrap_v = a.on(); break;
    case Attr::kFilter: texture.filter = *a.word; break;
    default: break;
  }
}

int DefineTexture(Host &host, const char *name, ListReader &list) {
  auto apply = [&](CallRecorder &call) {
    Texture &texture = host.scene().textures.get_or_add(name);
    for (const Attribute &attribute : call.attributes()) ApplyTextureAttribute(texture, attribute);
  };
  return DefineWithAttributes(host, "Kv_Texture", "texture name", Family::kTexture, name, list, apply);
}

}  // namespace
}  // namespace kavrel

extern "C" int Kv_Texture(const char *texture, ...) {
  KAVREL_LIST_AFTER(texture, list);
  return kavrel::DefineTexture(kavrel::CurrentHost(), texture, list);
}
