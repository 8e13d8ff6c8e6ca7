// The scene of a VRML97 or X3D output: lights and viewpoints first (a
// light lights what follows it in Inventor-style readers such as Coin3D),
// then the placements as nested Transforms.
#include <algorithm>
#include <cmath>

#include "kavrel/export/node_transform.h"
#include "kavrel/export/vrml_stages.h"

namespace kavrel {
namespace {

// Singular values that differ by float rounding only (a rotation's are
// 1 each) made equal, so that a rotated or uniformly scaled placement gets
// no scale orientation, and a plain rotation no scale at all.
Vec3 EvenedScale(const Vec3 &scale) {
  constexpr float kRounding = 1e-6f;
  const float largest = std::max({std::fabs(scale[0]), std::fabs(scale[1]), std::fabs(scale[2])});
  for (float s : scale) {
    if (std::fabs(std::fabs(s) - largest) > kRounding * largest) return scale;
  }
  const float magnitude = std::fabs(largest - 1.0f) <= kRounding ? 1.0f : largest;
  return {std::copysign(magnitude, scale[0]), std::copysign(magnitude, scale[1]), std::copysign(magnitude, scale[2])};
}

}  // namespace

VrmlScene::VrmlScene(const ExportModel &model, const TextureCopies &textures, VrmlEncoding &out, ExportNotes &notes)
    : model_(model),
      textures_(textures),
      out_(out),
      notes_(notes),
      children_(model.placements.size()),
      mesh_placements_(model.meshes.size(), 0),
      material_defs_(2 * model.materials.size()),
      texture_defs_(model.textures.size()) {
  for (size_t p = 0; p < model.placements.size(); ++p) {
    const ModelPlacement &placement = model.placements[p];
    if (placement.parent != kNone) children_[placement.parent].push_back(static_cast<int32_t>(p));
    if (placement.mesh != kNone) ++mesh_placements_[placement.mesh];
  }
}

void VrmlScene::Write() {
  out_.BeginFile();
  Lights();
  Viewpoints();
  Placements();
  out_.EndFile();
}

void VrmlScene::Placements() {
  // Placements come parent before children, so the Transforms open are a
  // path from the top, closed up to the next placement's parent.
  std::vector<int32_t> open;
  for (int32_t p = 0; p < static_cast<int32_t>(model_.placements.size()); ++p) {
    while (!open.empty() && open.back() != model_.placements[p].parent) {
      Close(open.back());
      open.pop_back();
    }
    Open(p);
    open.push_back(p);
  }
  for (auto it = open.rbegin(); it != open.rend(); ++it) Close(*it);
}

void VrmlScene::Open(int32_t p) {
  const ModelPlacement &placement = model_.placements[p];
  if (placement.hidden) {
    // Neither encoding has a hidden flag: a Switch that shows none of its
    // choices keeps the placement, undrawn.
    out_.BeginNode(nullptr, "Switch", "");
    out_.BeginValues("whichChoice", false);
    out_.Integer(-1);
    out_.EndValues();
    out_.BeginNodes("choice");
  }
  out_.BeginNode(nullptr, "Transform", names_.Unique(placement.name));
  ++counts_.transforms;
  TransformFields(placement.local);
  if (placement.mesh == kNone && children_[p].empty()) return;
  out_.BeginNodes("children");
  if (placement.mesh != kNone) Shapes(placement);
}

void VrmlScene::Close(int32_t p) {
  const ModelPlacement &placement = model_.placements[p];
  if (placement.mesh != kNone || !children_[p].empty()) out_.EndNodes();
  out_.EndNode();
  if (!placement.hidden) return;
  out_.EndNodes();
  out_.EndNode();
}

// A Transform applies translation x rotation x scale orientation x scale x
// the inverse scale orientation (column vectors). The matrix's linear part
// is U S V^T (singular values S, rotations U and V, the sign of a mirror in
// S), which is that with rotation U V^T, scale orientation V and scale S:
// one Transform takes any matrix, sheared or mirrored.
void VrmlScene::TransformFields(const Matrix &local) {
  const NodeTransform split = SplitNodeTransform(local, notes_);
  if (split.kind == NodeTransform::Kind::kIdentity) return;
  if (split.translation != Vec3{0, 0, 0}) out_.Field("translation", split.translation.data(), 3);
  Rotation("rotation", MultiplyQuaternions(split.rotation, split.inner_rotation));
  const Vec3 scale = EvenedScale(split.scale);
  if (scale == Vec3{1, 1, 1}) return;
  out_.Field("scale", scale.data(), 3);
  if (scale[0] != scale[1] || scale[1] != scale[2]) Rotation("scaleOrientation", Conjugate(split.inner_rotation));
}

// Left out when it turns by nothing, the field's default.
void VrmlScene::Rotation(const char *field, const Quaternion &rotation) {
  const AxisAngle turn = AxisAngleOf(rotation);
  if (turn.angle == 0) return;
  const float values[4] = {turn.axis[0], turn.axis[1], turn.axis[2], turn.angle};
  out_.Field(field, values, 4);
}

}  // namespace kavrel
