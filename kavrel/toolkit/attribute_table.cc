// The one table of attribute keywords, and the path index built from it.
#include "kavrel/toolkit/attribute_table.h"

#include <array>
#include <cstring>
#include <unordered_map>

namespace kavrel {
namespace {

using F = Family;
using V = ValueKind;

constexpr const char *kOnOff = "on off";

// clang-format off
const AttributeRule kRules[] = {
  // Kv_Surface: channels, colours, coefficients, model and texture layers.
  {F::kSurface, "specularcolor enabled",            V::kToken,  0, kOnOff, Attr::kSpecularEnabled},
  {F::kSurface, "luminouscolor enabled",            V::kToken,  0, kOnOff, Attr::kLuminousEnabled},
  {F::kSurface, "ambientcolor enabled",             V::kToken,  0, kOnOff, Attr::kAmbientEnabled},
  {F::kSurface, "ambientcolor color rgb",           V::kFloats, 3, nullptr, Attr::kAmbientColor},
  {F::kSurface, "model",                            V::kToken,  0, "phong blinn lambert constant", Attr::kSurfaceModel},
  {F::kSurface, "model shininess",                  V::kInt32,  0, nullptr, Attr::kShininess},
  {F::kSurface, "model exponent",                   V::kFloats, 1, nullptr, Attr::kShininessExponent},
  {F::kSurface, "opacity",                          V::kFlag,   0, nullptr, Attr::kOpacityChannel},
  {F::kSurface, "opacity facecoeff",                V::kFloats, 1, nullptr, Attr::kOpacity},
  {F::kSurface, "color rgb",                        V::kFloats, 3, nullptr, Attr::kDiffuseColor},
  {F::kSurface, "shadingcoeffs diffuse",            V::kFloats, 1, nullptr, Attr::kDiffuseCoeff},
  {F::kSurface, "specularcolor color rgb",          V::kFloats, 3, nullptr, Attr::kSpecularColor},
  {F::kSurface, "shadingcoeffs specular",           V::kFloats, 1, nullptr, Attr::kSpecularCoeff},
  {F::kSurface, "luminouscolor color rgb",          V::kFloats, 3, nullptr, Attr::kLuminousColor},
  {F::kSurface, "shadingcoeffs luminous",           V::kFloats, 1, nullptr, Attr::kLuminousCoeff},
  {F::kSurface, "texture",                          V::kText,   0, nullptr, Attr::kLayer},
  {F::kSurface, "texture enabled",                  V::kToken,  0, kOnOff, Attr::kLayerEnabled},
  {F::kSurface, "texture texturelink",              V::kText,   0, nullptr, Attr::kLayerTexture},
  {F::kSurface, "texture uscale",                   V::kFloats, 1, nullptr, Attr::kLayerUScale},
  {F::kSurface, "texture vscale",                   V::kFloats, 1, nullptr, Attr::kLayerVScale},
  {F::kSurface, "texture uoffset",                  V::kFloats, 1, nullptr, Attr::kLayerUOffset},
  {F::kSurface, "texture voffset",                  V::kFloats, 1, nullptr, Attr::kLayerVOffset},
  {F::kSurface, "texture modulate faceopacity enabled",           V::kToken, 0, kOnOff, Attr::kLayerModulate},
  {F::kSurface, "texture modulatesrc faceopacity alphachan",      V::kFlag,  0, nullptr, Attr::kLayerModulateSource},

  {F::kSurfaceLink, "instance",                     V::kText,   0, nullptr, Attr::kLinkInstance},
  {F::kAddInstance, "object",                       V::kText,   0, nullptr, Attr::kInstanceObject},
  {F::kAttach,      "instance",                     V::kText,   0, nullptr, Attr::kAttachParent},

  // Kv_Texture
  {F::kTexture, "image textureimage",               V::kTypedPath, 0, nullptr, Attr::kTextureImage},
  {F::kTexture, "enabled",                          V::kToken,  0, kOnOff, Attr::kTextureEnabled},
  {F::kTexture, "alphachansrc type",                V::kToken,  0, "type1 type2 type3 type4 off", Attr::kAlphaSource},
  {F::kTexture, "alphachansrc invert enabled",      V::kToken,  0, kOnOff, Attr::kAlphaInvert},
  {F::kTexture, "wrapu enabled",                    V::kToken,  0, kOnOff, Attr::kWrapU},
  {F::kTexture, "wrapv enabled",                    V::kToken,  0, kOnOff, Attr::kWrapV},
  {F::kTexture, "filter",                           V::kToken,  0, "mipmap bilinear nearest", Attr::kFilter},

  // Kv_Light
  {F::kLight, "color rgb",                          V::kFloats, 3, nullptr, Attr::kLightColor},
  {F::kLight, "model",                              V::kToken,  0, "direction point spot ambient", Attr::kLightModel},
  {F::kLight, "enabled",                            V::kToken,  0, kOnOff, Attr::kLightEnabled},
  {F::kLight, "intensity",                          V::kFloats, 1, nullptr, Attr::kIntensity},
  {F::kLight, "shinedir",                           V::kFloats, 3, nullptr, Attr::kShineDir},
  {F::kLight, "shinefrom",                          V::kFloats, 3, nullptr, Attr::kShineFrom},
  {F::kLight, "shineat",                            V::kFloats, 3, nullptr, Attr::kShineAt},
  {F::kLight, "decay",                              V::kInt32,  0, nullptr, Attr::kDecay},
  {F::kLight, "distance",                           V::kFloats, 1, nullptr, Attr::kDistance},
  {F::kLight, "cutoff",                             V::kFloats, 1, nullptr, Attr::kCutoff},
  {F::kLight, "delta",                              V::kFloats, 1, nullptr, Attr::kDelta},

  // Kv_Camera
  {F::kCamera, "active",                            V::kFlag,   0, nullptr, Attr::kActive},
  {F::kCamera, "formmappingtype",                   V::kToken,  0, nullptr, Attr::kFormMapping},
  {F::kCamera, "focallength",                       V::kFloats, 1, nullptr, Attr::kFocalLength},
  {F::kCamera, "twist",                             V::kFloats, 1, nullptr, Attr::kTwist},
  {F::kCamera, "window",                            V::kFloats, 2, nullptr, Attr::kWindow},
  {F::kCamera, "lookfrom",                          V::kFloats, 3, nullptr, Attr::kLookFrom},
  {F::kCamera, "lookat",                            V::kFloats, 3, nullptr, Attr::kLookAt},
  {F::kCamera, "lookup",                            V::kFloats, 3, nullptr, Attr::kLookUp},
  {F::kCamera, "projection",                        V::kToken,  0, "perspective orthographic", Attr::kProjection},

  // Kv_Instance, Kv_Transform
  {F::kInstance,  "hidden enabled",                 V::kToken,  0, kOnOff, Attr::kHidden},
  {F::kInstance,  "cullbackfaces enabled",          V::kToken,  0, kOnOff, Attr::kCullBackFaces},
  {F::kTransform, "premultiply matrix",             V::kFloats, 16, nullptr, Attr::kPremultiply},
  {F::kTransform, "postmultiply matrix",            V::kFloats, 16, nullptr, Attr::kPostmultiply},
  {F::kTransform, "matrix",                         V::kFloats, 16, nullptr, Attr::kSetMatrix},

  // Kv_Manipulate_IndexedPolygons
  {F::kManipulate, "combine vertex",                V::kFloats, 1, nullptr, Attr::kCombineVertex},
  {F::kManipulate, "combine normal",                V::kFloats, 1, nullptr, Attr::kCombineNormal},
  {F::kManipulate, "combine texture",               V::kFloats, 1, nullptr, Attr::kCombineTexture},
  {F::kManipulate, "combine color",                 V::kFloats, 1, nullptr, Attr::kCombineColor},
  {F::kManipulate, "calcnormals angle",             V::kFloats, 1, nullptr, Attr::kSmoothAngle},
  {F::kManipulate, "merge quads enabled",           V::kToken,  0, kOnOff, Attr::kMergeQuads},
  {F::kManipulate, "merge angle",                   V::kFloats, 1, nullptr, Attr::kMergeAngle},

  // Kv_Output_Driver, Kv_Option, Kv_Inquire_Option
  {F::kOutputDriver, "file",                        V::kToken,  0, "tiff", Attr::kDriverFile},
  {F::kOutputDriver, "filename",                    V::kText,   0, nullptr, Attr::kDriverFilename},
  {F::kOutputDriver, "mode",                        V::kToken,  0, "a rgb rgba", Attr::kDriverMode},
  {F::kOutputDriver, "enabled",                     V::kToken,  0, kOnOff, Attr::kDriverEnabled},
  {F::kOutputDriver, "description",                 V::kText,   0, nullptr, Attr::kDriverDescription},
  {F::kOption,        "confirm overwrites enabled", V::kToken,    0, kOnOff, Attr::kConfirmOverwrites},
  {F::kInquireOption, "confirm overwrites enabled", V::kOutToken, 0, nullptr, Attr::kConfirmOverwrites},

  // Queries
  {F::kInquireInstance,     "numchildren",          V::kOutInt32,     0, nullptr, Attr::kNumChildren},
  {F::kInquireTexture,      "imageinfo",            V::kOutImageInfo, 0, nullptr, Attr::kImageInfo},
  {F::kInquireTexture,      "headeronly",           V::kFlag,         0, nullptr, Attr::kHeaderOnly},
  {F::kInquireOutputDriver, "enabled",              V::kOutToken,     0, nullptr, Attr::kDriverEnabledOut},

  // Entity kinds
  {F::kEntityKind, "instance",                      V::kFlag,   0, nullptr, Attr::kKindInstance},
  {F::kEntityKind, "object",                        V::kFlag,   0, nullptr, Attr::kKindObject},
  {F::kEntityKind, "surface",                       V::kFlag,   0, nullptr, Attr::kKindSurface},
  {F::kEntityKind, "texture",                       V::kFlag,   0, nullptr, Attr::kKindTexture},
  {F::kEntityKind, "light",                         V::kFlag,   0, nullptr, Attr::kKindLight},
  {F::kEntityKind, "camera",                        V::kFlag,   0, nullptr, Attr::kKindCamera},
  {F::kEntityKind, "outputdriver",                  V::kFlag,   0, nullptr, Attr::kKindOutputDriver},

  // Kv_Image_Save
  {F::kImageSave, "writeheader",                    V::kFlag,   0, nullptr, Attr::kWriteHeader},
  {F::kImageSave, "writescanline",                  V::kFlag,   0, nullptr, Attr::kWriteScanline},
  {F::kImageSave, "close",                          V::kFlag,   0, nullptr, Attr::kClose},
};
// clang-format on

using PathIndex = std::unordered_map<std::string, PathInfo>;

// Every rule's path and each of its leading parts, per family.
std::array<PathIndex, static_cast<size_t>(Family::kCount)> BuildIndex() {
  std::array<PathIndex, static_cast<size_t>(Family::kCount)> index;
  for (const AttributeRule &rule : kRules) {
    PathIndex &paths = index[static_cast<size_t>(rule.family)];
    std::string path = rule.path;
    paths[path].rule = &rule;
    for (size_t space = path.rfind(' '); space != std::string::npos; space = path.rfind(' ', space - 1)) {
      paths[path.substr(0, space)].continues = true;
      if (space == 0) break;
    }
  }
  return index;
}

}  // namespace

const PathInfo *FindPath(Family family, const std::string &path) {
  static const auto index = BuildIndex();
  const PathIndex &paths = index[static_cast<size_t>(family)];
  auto it = paths.find(path);
  return it == paths.end() ? nullptr : &it->second;
}

bool AllowsChoice(const AttributeRule &rule, const std::string &word) {
  if (!rule.choices) return true;
  const char *at = rule.choices;
  while (*at) {
    size_t length = std::strcspn(at, " ");
    if (word.size() == length && word.compare(0, length, at, length) == 0) return true;
    at += length;
    while (*at == ' ') ++at;
  }
  return false;
}

}  // namespace kavrel
