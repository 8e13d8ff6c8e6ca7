// The Texture2 pre-callback and the host texture of a new textured surface.
#include <Inventor/fields/SoSFString.h>
#include <Inventor/nodes/SoTexture2.h>

#include "host/import_io.h"
#include "host/kv_call.hpp"
#include "host/kv_toolkit.h"
#include "materials/material_capture.h"
#include "materials/materials.h"
#include "materials/so_texture_filename_element.h"
#include "materials/surface_definition.h"
#include "materials/texture_extraction.h"
#include "materials/texture_paths.h"
#include "materials/texture_reference.h"
#include "state/state.h"

using kv::on_off;
using kv::tok;

namespace {

// Token after "alphachansrc" "type", in the order of the dialog's list.
const char *AlphaSourceWord(int alpha_source) {
  switch (alpha_source) {
    case 1: return "type3";  // chroma key: upper left
    case 2: return "type4";  // chroma key: lower left
    case 3: return "off";    // always opaque
    default: return "type1";  // alpha channel from the image
  }
}

void SendTextureDefinition(const SbString &texture, int32_t file_type, const SbString &path,
                           const MaterialSnapshot &snapshot) {
  const ImportOptions &options = plugin.state->options;
  const bool invert = options.alpha_invert != 0 && options.alpha_source != 3;
  kv::kv_list(Kv_Texture, texture.getString(), tok("image"), tok("textureimage"), file_type, path.getString(),
              KV_GROUP_END, tok("enabled"), tok("on"), KV_GROUP_END, tok("alphachansrc"), tok("type"),
              tok(AlphaSourceWord(options.alpha_source)), tok("invert"), tok("enabled"), on_off(invert),
              KV_GROUP_END, tok("wrapu"), tok("enabled"), on_off(snapshot.wrap_s == SoTextureImageElement::REPEAT),
              KV_GROUP_END, tok("wrapv"), tok("enabled"), on_off(snapshot.wrap_t == SoTextureImageElement::REPEAT),
              KV_GROUP_END, tok("filter"), tok("mipmap"), KV_GROUP_END);
}

// True when the image has an alpha channel (grey+alpha or RGBA) and the
// options let a texture's alpha drive the face opacity.
bool AlphaDrivesOpacity(const SbString &texture) {
  const int16_t source = plugin.state->options.transparency_source;
  if (source != 0 && source != 2) return false;
  Kv_ImageInfo info = {};
  intptr_t unused = 0;
  kv::kv_list(Kv_Inquire_Texture, texture.getString(), &unused, tok("imageinfo"), &info, tok("headeronly"));
  return info.components == 2 || info.components == 4;
}

void LinkTexture(const SbString &surface, const SbString &texture, bool alpha_to_opacity) {
  const float one = 1.0f, zero = 0.0f;
  auto link = [&](auto... alpha) {
    kv::kv_list(Kv_Surface, surface.getString(), tok("texture"), "layer 1", tok("enabled"), tok("on"),
                tok("texturelink"), texture.getString(), tok("uscale"), &one, tok("vscale"), &one, tok("uoffset"),
                &zero, tok("voffset"), &zero, alpha..., KV_GROUP_END);
  };
  if (alpha_to_opacity) {
    link(tok("modulate"), tok("faceopacity"), tok("enabled"), tok("on"), tok("modulatesrc"), tok("faceopacity"),
         tok("alphachan"));
  } else {
    link();
  }
}

// Without its image the surface is no longer opaque by default: it takes
// the material's own opacity back.
void SendFallbackOpacity(const MaterialSnapshot &snapshot) {
  const float opacity = OpacityFromTransparency(snapshot.transparency);
  kv::kv_list(Kv_Surface, snapshot.name.getString(), tok("opacity"), tok("facecoeff"), &opacity);
}

// The path of the image the texture shows, or false when there is none to link.
bool TexturePath(const MaterialSnapshot &snapshot, const SbString &texture, SoState *traversal, SbString &path) {
  if (snapshot.texture_file.getLength() > 0) {
    path = ReferencedTexturePath(snapshot.texture_file);
    return true;
  }
  if (plugin.state->options.load_textures == 0) return false;
  if (ExtractEmbeddedTexture(path, texture, traversal)) return true;
  Import_IO_Report_Error(1, "Error creating texture map from embedding pixel data in Texture2 node.");
  return false;
}

}  // namespace

SoCallbackAction::Response inventorCB_Texture2Pre(void *, SoCallbackAction *action, const SoNode *node) {
  const SoTexture2 *texture = static_cast<const SoTexture2 *>(node);
  SoTextureFilenameElement::set(action->getState(), const_cast<SoNode *>(node), texture->filename.getValue());
  return SoCallbackAction::CONTINUE;
}

void DefineTexture(const MaterialSnapshot &snapshot, SoState *traversal) {
  if (plugin.state->options.ImportTextureReferences == 0 || !HasTexture(snapshot)) return;
  SbString texture;
  InventorState &s = *plugin.state;
  MakeUniqueName(tok("texture"), s.texture_name_dict, s.texture_names, SbString("texture"), texture);
  SbString path;
  if (!TexturePath(snapshot, texture, traversal, path)) return;
  int32_t file_type = 0;
  if (Kv_Determine_Image_File_Type(path.getString(), &file_type) == 1) {
    Import_IO_Report_Error(1, MissingTextureMessage(path).getString());
    SendFallbackOpacity(snapshot);
    return;
  }
  SendTextureDefinition(texture, file_type, path, snapshot);
  LinkTexture(snapshot.name, texture, AlphaDrivesOpacity(texture));
}
