// Smooth normals with a crease angle.
//
// Corners at one position are joined into smoothing groups across every
// edge whose two polygons meet at less than the angle; each group gets the
// corner-angle-weighted mean of its polygons' normals. Joining only across
// shared edges keeps the work linear (no comparison of every pair of
// polygons around a vertex) and keeps a crease sharp even where polygons on
// both sides of it happen to be parallel further round the vertex.
#include <algorithm>
#include <cassert>

#include "kavrel/mesh/mesh_internal.h"

namespace kavrel {

namespace {

using mesh_detail::FaceLayout;

// Union-find over corners, with path halving.
class CornerGroups {
 public:
  explicit CornerGroups(size_t corners) : parent_(corners) {
    for (size_t c = 0; c < corners; ++c) parent_[c] = static_cast<int32_t>(c);
  }
  int32_t Find(int32_t c) {
    while (parent_[c] != c) {
      parent_[c] = parent_[parent_[c]];
      c = parent_[c];
    }
    return c;
  }
  void Join(int32_t a, int32_t b) {
    a = Find(a);
    b = Find(b);
    if (a != b) parent_[std::max(a, b)] = std::min(a, b);
  }

 private:
  std::vector<int32_t> parent_;
};

// Joins, across each smooth edge, the two corners at each of its ends.
void JoinAcrossSmoothEdges(const Mesh &mesh, const FaceLayout &layout, const std::vector<Vec3> &face_normal,
                           float cos_limit, CornerGroups *groups) {
  const std::vector<int32_t> twin = mesh_detail::EdgeTwins(mesh, layout, false);
  const std::vector<int32_t> &pos = mesh.position_index;
  for (int32_t c = 0; c < static_cast<int32_t>(twin.size()); ++c) {
    const int32_t t = twin[c];
    if (t < c) continue;
    const int32_t f = layout.face_of[c], g = layout.face_of[t];
    if (Dot(face_normal[f], face_normal[g]) < cos_limit) continue;
    const int32_t c_next = mesh_detail::NextCorner(layout, c), t_next = mesh_detail::NextCorner(layout, t);
    const bool opposite = pos[t] == pos[c_next];
    groups->Join(c, opposite ? t_next : t);
    groups->Join(c_next, opposite ? t : t_next);
  }
}

// Angle of the polygon at corner c, the weight of its normal there.
float CornerAngle(const Mesh &mesh, const FaceLayout &layout, int32_t c) {
  const Vec3 &p = mesh.positions[mesh.position_index[c]];
  const Vec3 a = Normalized(
      Sub(mesh.positions[mesh.position_index[mesh_detail::PrevCorner(layout, c)]], p));
  const Vec3 b = Normalized(
      Sub(mesh.positions[mesh.position_index[mesh_detail::NextCorner(layout, c)]], p));
  return std::acos(std::clamp(Dot(a, b), -1.0f, 1.0f));
}

bool OnFace(const FaceLayout &layout, int32_t c) {
  const int32_t f = layout.face_of[c];
  return layout.start[f + 1] - layout.start[f] >= 3;
}

}  // namespace

void CalcSmoothNormals(Mesh &mesh, float angle_degrees) {
  assert(CheckMesh(mesh, nullptr));
  if (!HasFaces(mesh)) return;
  const FaceLayout layout = mesh_detail::MakeFaceLayout(mesh);
  std::vector<Vec3> face_normal = mesh_detail::FaceNormals(mesh, layout);
  if (mesh.clockwise)
    for (Vec3 &n : face_normal) n = {-n[0], -n[1], -n[2]};
  const size_t corners = mesh.corner_count();
  CornerGroups groups(corners);
  JoinAcrossSmoothEdges(mesh, layout, face_normal, mesh_detail::CosineLimit(angle_degrees), &groups);

  std::vector<Vec3> sum(corners, Vec3{0, 0, 0});
  for (int32_t c = 0; c < static_cast<int32_t>(corners); ++c) {
    if (!OnFace(layout, c)) continue;
    const Vec3 &n = face_normal[layout.face_of[c]];
    const float w = CornerAngle(mesh, layout, c);
    Vec3 &s = sum[groups.Find(c)];
    for (int k = 0; k < 3; ++k) s[k] += w * n[k];
  }
  // One normal per group, numbered in corner order.
  std::vector<int32_t> group_normal(corners, -1);
  int32_t placeholder = -1;                    // the normal of every segment's and point's corner
  mesh.normals.clear();
  mesh.normal_index.resize(corners);
  for (int32_t c = 0; c < static_cast<int32_t>(corners); ++c) {
    if (!OnFace(layout, c)) {
      if (placeholder < 0) {
        placeholder = static_cast<int32_t>(mesh.normals.size());
        mesh.normals.push_back({0, 0, 1});
      }
      mesh.normal_index[c] = placeholder;
      continue;
    }
    const int32_t root = groups.Find(c);
    if (group_normal[root] < 0) {
      Vec3 n = Normalized(sum[root]);
      if (n == Vec3{0, 0, 0}) n = face_normal[layout.face_of[c]];
      if (n == Vec3{0, 0, 0}) n = {0, 0, 1};
      group_normal[root] = static_cast<int32_t>(mesh.normals.size());
      mesh.normals.push_back(n);
    }
    mesh.normal_index[c] = group_normal[root];
  }
}

}  // namespace kavrel
