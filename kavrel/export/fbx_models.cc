// FBX "Model" objects, and the "NodeAttribute" objects that make a model a
// light or a camera. Every value an importer reads is stated on the object
// itself, so that none falls back on a property template.
#include <algorithm>
#include <cmath>

#include "kavrel/export/fbx_properties.h"
#include "kavrel/export/fbx_stages.h"

namespace kavrel {
namespace {

constexpr double kDegrees = 180.0 / 3.14159265358979323846;
constexpr double kFilmHeightMm = 24;           // a 35 mm frame's height: the lens in familiar millimetres
constexpr double kMmPerInch = 25.4;            // FBX gives the film in inches
const ModelCamera kDefaultLens;                // focal length 5, window 4.1421347 square

const char *KindName(FbxModelKind kind) {
  switch (kind) {
    case FbxModelKind::kMesh:
      return "Mesh";
    case FbxModelKind::kLight:
      return "Light";
    case FbxModelKind::kCamera:
      return "Camera";
    default:
      return "Null";
  }
}

void BeginAttribute(const FbxModel &model, const char *attribute_class, FbxBinary &out) {
  out.Begin("NodeAttribute");
  out.Int64(model.attribute);
  out.String(FbxName(model.name, "NodeAttribute"));
  out.String(attribute_class);
  out.StringRecord("TypeFlags", attribute_class);
  out.IntRecord("GeometryVersion", 124);
}

int32_t LightType(LightKind kind) {
  switch (kind) {
    case LightKind::kDirectional:
      return 1;
    case LightKind::kSpot:
      return 2;
    default:
      return 0;  // point
  }
}

// FBX's colour and intensity (percent) of the light: a colour above 1 is
// scaled into 0..1, its brightest channel moving into the intensity.
void LightColor(const ModelLight &light, FbxProperties &properties) {
  Double3 color;
  double peak = 0;
  for (int i = 0; i < 3; ++i) {
    color[i] = std::isfinite(light.color[i]) ? std::max(0.0f, light.color[i]) : 0.0;
    peak = std::max(peak, color[i]);
  }
  double intensity = std::isfinite(light.intensity) ? light.intensity : 1.0;
  if (peak > 1) {
    for (double &c : color) c /= peak;
    intensity *= peak;
  }
  properties.Color("Color", color);
  properties.Number("Intensity", 100 * intensity);
}

}  // namespace

void WriteFbxModel(const FbxModel &model, FbxBinary &out) {
  out.Begin("Model");
  out.Int64(model.id);
  out.String(FbxName(model.name, "Model"));
  out.String(KindName(model.kind));
  out.IntRecord("Version", 232);
  {
    FbxProperties properties(out);
    properties.Enum("RotationOrder", 0);       // X, then Y, then Z
    properties.Enum("InheritType", 1);         // RSrs: the parent's matrix times the child's
    if (model.kind != FbxModelKind::kNull) properties.Int("DefaultAttributeIndex", 0);
    properties.Local("Lcl Translation", model.transform.translation);
    properties.Local("Lcl Rotation", model.transform.rotation);
    properties.Local("Lcl Scaling", model.transform.scale);
    if (model.hidden) properties.Named("Visibility", 0);
  }
  out.IntRecord("MultiLayer", 0);
  out.IntRecord("MultiTake", 0);
  out.Begin("Shading");
  out.Bool(true);
  out.End();
  out.StringRecord("Culling", "CullingOff");
  out.End();
}

void WriteFbxLight(const ModelLight &light, const FbxModel &model, FbxBinary &out) {
  BeginAttribute(model, "Light", out);
  {
    FbxProperties properties(out);
    properties.Enum("LightType", LightType(light.kind));
    properties.Bool("CastLight", true);
    LightColor(light, properties);
    properties.Enum("DecayType", light.decay >= 0 && light.decay <= 2 ? light.decay : 0);
    properties.Bool("CastShadows", false);
    if (light.kind == LightKind::kSpot) {
      // FBX's cone angles are whole angles, the host's cutoff half of one.
      const double cutoff = std::isfinite(light.cutoff) ? std::fabs(light.cutoff) : 45.0;
      properties.Double("OuterAngle", std::min(2 * cutoff, 180.0));
      properties.Double("InnerAngle", 0);
    }
  }
  out.End();
}

// The lens as a film of 24 mm height with the window's proportions, and
// the focal length that gives the window's angles on it.
void WriteFbxCamera(const ModelCamera &camera, const FbxModel &model, FbxBinary &out) {
  double width = camera.window[0], height = camera.window[1], focal = camera.focal_length;
  if (!(width > 0 && height > 0 && focal > 0 && std::isfinite(width * height * focal))) {
    width = kDefaultLens.window[0];
    height = kDefaultLens.window[1];
    focal = kDefaultLens.focal_length;
  }
  BeginAttribute(model, "Camera", out);
  {
    FbxProperties properties(out);
    properties.Enum("CameraProjectionType", camera.orthographic ? 1 : 0);
    properties.Double("AspectWidth", width);
    properties.Double("AspectHeight", height);
    properties.Double("FilmWidth", kFilmHeightMm / kMmPerInch * width / height);
    properties.Double("FilmHeight", kFilmHeightMm / kMmPerInch);
    properties.Double("FilmAspectRatio", width / height);
    properties.Enum("ApertureMode", 3);        // the focal length decides the angles
    properties.Number("FocalLength", kFilmHeightMm * focal / height);
    const double horizontal = 2 * std::atan(width / 2 / focal) * kDegrees;
    properties.Named("FieldOfView", horizontal);
    properties.Named("FieldOfViewX", horizontal);
    properties.Named("FieldOfViewY", 2 * std::atan(height / 2 / focal) * kDegrees);
    properties.Double("NearPlane", 0.01);
    properties.Double("FarPlane", 10000);
    // An orthographic camera's view, as wide as the window's larger side.
    properties.Double("OrthoZoom", std::max(width, height));
  }
  out.End();
}

}  // namespace kavrel
