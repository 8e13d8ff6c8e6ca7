// Lights and cameras of the assimp scene, each the record of a root node
// of the same name with the identity matrix, so that their positions and
// directions are given in world space. Directional lights shine away from
// the direction towards them.
#include <cmath>

#include "kavrel/export/assimp_scene.h"

namespace kavrel {
namespace {

constexpr float kPi = 3.14159265358979f;
const ModelCamera kDefaultLens;                // focal length 5, window 4.1421347 square

aiVector3D Vector(const Vec3 &v) {
  auto finite = [](float c) { return std::isfinite(c) ? c : 0.0f; };
  return aiVector3D(finite(v[0]), finite(v[1]), finite(v[2]));
}

aiVector3D Direction(const Vec3 &from, const Vec3 &to) { return Vector(Normalized(Sub(to, from))); }

template <typename Record>
void Append(Record **&array, unsigned &count, Record *record) {
  Record **grown = new Record *[count + 1];
  std::copy(array, array + count, grown);
  grown[count++] = record;
  delete[] array;
  array = grown;
}

void SetLightKind(const ModelLight &light, aiLight &out) {
  switch (light.kind) {
    case LightKind::kDirectional:
      out.mType = aiLightSource_DIRECTIONAL;
      out.mDirection = Direction(light.towards, {0, 0, 0});
      break;
    case LightKind::kPoint:
      out.mType = aiLightSource_POINT;
      out.mPosition = Vector(light.position);
      break;
    case LightKind::kSpot: {
      out.mType = aiLightSource_SPOT;
      out.mPosition = Vector(light.position);
      out.mDirection = Direction(light.position, light.aim);
      const float outer = std::isfinite(light.cutoff) ? std::fabs(light.cutoff) * kPi / 180.0f : kPi / 4;
      out.mAngleOuterCone = std::fmin(outer, kPi / 2);
      out.mAngleInnerCone = 0;
      break;
    }
    case LightKind::kAmbient:
      out.mType = aiLightSource_AMBIENT;
      break;
  }
}

}  // namespace

void AddAssimpLights(const ExportModel &model, aiScene &out, std::vector<aiNode *> *nodes) {
  for (const ModelLight &light : model.lights) {
    auto *record = new aiLight();
    SetLightKind(light, *record);
    record->mName = aiString(light.name);
    const float intensity = std::isfinite(light.intensity) ? light.intensity : 1.0f;
    const aiVector3D color = Vector(light.color) * intensity;
    record->mColorDiffuse = record->mColorSpecular = aiColor3D(color.x, color.y, color.z);
    if (record->mType == aiLightSource_AMBIENT) record->mColorAmbient = record->mColorDiffuse;
    record->mAttenuationConstant = light.decay == 0 ? 1.0f : 0.0f;
    record->mAttenuationLinear = light.decay == 1 ? 1.0f : 0.0f;
    record->mAttenuationQuadratic = light.decay == 2 ? 1.0f : 0.0f;
    Append(out.mLights, out.mNumLights, record);
    nodes->push_back(new aiNode(light.name));
  }
}

void AddAssimpCameras(const ExportModel &model, aiScene &out, std::vector<aiNode *> *nodes) {
  for (const ModelCamera &camera : model.cameras) {
    auto *record = new aiCamera();
    record->mName = aiString(camera.name);
    record->mPosition = Vector(camera.eye);
    record->mLookAt = Direction(camera.eye, camera.target);
    record->mUp = Vector(Normalized(camera.up));
    float width = camera.window[0], height = camera.window[1], focal = camera.focal_length;
    if (!(width > 0 && height > 0 && focal > 0 && std::isfinite(width * height * focal))) {
      width = kDefaultLens.window[0];
      height = kDefaultLens.window[1];
      focal = kDefaultLens.focal_length;
    }
    // assimp keeps half the horizontal angle, and half the width when orthographic.
    record->mHorizontalFOV = std::atan((width / 2) / focal);
    record->mAspect = width / height;
    record->mClipPlaneNear = 0.01f;
    record->mClipPlaneFar = 10000.0f;
    if (camera.orthographic) record->mOrthographicWidth = width / 2;
    Append(out.mCameras, out.mNumCameras, record);
    nodes->push_back(new aiNode(camera.name));
  }
}

}  // namespace kavrel
