// The grammar of the toolkit's attribute lists: for each call family, the
// keyword paths it accepts and what value follows each.
//
// A list is a run of groups closed by 1 and ended by 0. Within a group,
// keywords form a path ("specularcolor" "color" "rgb"); a path that names
// an attribute is followed by its value. After a value the next keyword
// continues the longest part of the path it extends, so "merge" "quads"
// "enabled" on "angle" reads as "merge quads enabled" then "merge angle",
// and everything after "texture" "layer 1" stays in that texture layer.
#ifndef KAVREL_TOOLKIT_ATTRIBUTE_TABLE_H
#define KAVREL_TOOLKIT_ATTRIBUTE_TABLE_H

#include <string>

namespace kavrel {

enum class Family {
  kSurface, kSurfaceLink, kTexture, kLight, kCamera, kInstance, kAddInstance, kAttach, kTransform,
  kManipulate, kOutputDriver, kOption, kInquireOption, kInquireInstance, kInquireTexture,
  kInquireOutputDriver, kEntityKind, kImageSave, kNoAttributes,
  kCount
};

// What follows a keyword path in the list.
enum class ValueKind {
  kFlag,          // nothing: the path itself is the attribute
  kToken,         // a token
  kText,          // a pointer to a NUL-terminated string
  kFloats,        // a pointer to `count` 32-bit floats
  kInt32,         // a pointer to one 32-bit integer
  kTypedPath,     // an integer (a Kv_Determine_Image_File_Type value), then a string
  kOutInt32,      // a pointer the call writes one 32-bit integer through
  kOutToken,      // a pointer the call writes one Kv_Token through
  kOutImageInfo,  // a pointer to a Kv_ImageInfo the call fills
};

enum class Attr {
  // Kv_Surface
  kSpecularEnabled, kLuminousEnabled, kAmbientEnabled, kSurfaceModel, kShininess, kShininessExponent, kAmbientColor, kOpacityChannel,
  kOpacity, kDiffuseColor, kDiffuseCoeff, kSpecularColor, kSpecularCoeff, kLuminousColor,
  kLuminousCoeff, kLayer, kLayerEnabled, kLayerTexture, kLayerUScale, kLayerVScale, kLayerUOffset,
  kLayerVOffset, kLayerModulate, kLayerModulateSource,
  // Kv_Surfacelink, Kv_Add_Instance, Kv_Attach
  kLinkInstance, kInstanceObject, kAttachParent,
  // Kv_Texture
  kTextureImage, kTextureEnabled, kAlphaSource, kAlphaInvert, kWrapU, kWrapV, kFilter,
  // Kv_Light
  kLightColor, kLightModel, kLightEnabled, kIntensity, kShineDir, kShineFrom, kShineAt, kDecay,
  kDistance, kCutoff, kDelta,
  // Kv_Camera
  kActive, kFormMapping, kFocalLength, kTwist, kWindow, kLookFrom, kLookAt, kLookUp, kProjection,
  // Kv_Instance, Kv_Transform
  kHidden, kCullBackFaces, kPremultiply, kPostmultiply, kSetMatrix,
  // Kv_Manipulate_IndexedPolygons
  kCombineVertex, kCombineNormal, kCombineTexture, kCombineColor, kSmoothAngle, kMergeQuads,
  kMergeAngle,
  // Kv_Output_Driver, Kv_Option, Kv_Inquire_Option
  kDriverFile, kDriverFilename, kDriverMode, kDriverEnabled, kDriverDescription, kConfirmOverwrites,
  // Kv_Inquire_Instance, Kv_Inquire_Texture, Kv_Inquire_Output_Driver
  kNumChildren, kImageInfo, kHeaderOnly, kDriverEnabledOut,
  // Entity kinds (Kv_Handle_Name_Exists, Kv_Remove and the kind arguments)
  kKindInstance, kKindObject, kKindSurface, kKindTexture, kKindLight, kKindCamera, kKindOutputDriver,
  // Kv_Image_Save
  kWriteHeader, kWriteScanline, kClose,
};

struct AttributeRule {
  Family family;
  const char *path;     // keywords from the start of the group, space separated
  ValueKind value;
  int count;            // kFloats: floats behind the pointer
  const char *choices;  // kToken: the words the value may be, space separated; nullptr: any word
  Attr id;
};

// What a keyword path means in a family.
struct PathInfo {
  const AttributeRule *rule = nullptr;  // the attribute this path names, if any
  bool continues = false;               // longer paths start with this one
};

// nullptr when no rule of the family starts with path.
const PathInfo *FindPath(Family family, const std::string &path);

// True when word is one of the rule's choices (always, when it has none).
bool AllowsChoice(const AttributeRule &rule, const std::string &word);

}  // namespace kavrel

#endif
