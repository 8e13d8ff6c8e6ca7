// Merging coplanar neighbours into quadrilaterals or larger convex polygons.
//
// Each polygon is a ring of its corners (doubly linked, so a merge splices
// two rings in constant time). Two rings are merged across a shared edge
// when they have the same surface, their normals lie within the angle, the
// corners at both ends of the edge carry the same texture coordinates and
// colours, and the turns at those two ends stay convex: two convex polygons
// joined along an edge form a convex polygon exactly when both of those
// turns are convex, so no merge ever walks a whole ring.

#include <cassert>

#include "kavrel/mesh/mesh_internal.h"

namespace kavrel {

namespace {

using mesh_detail::FaceLayout;

// Largest polygon whose edges are ordered by length before merging (the
// ordering lives on the stack).
constexpr int32_t kSortedEdgesMax = 8;
// Attribute values closer than this count as equal at a shared corner.
constexpr float kAttributeTolerance = 1e-5f;
// sin of the smallest turn that still counts as a corner (not collinear).
constexpr float kMinTurn = 1e-5f;

class PolygonMerger {
 public:
  PolygonMerger(Mesh &mesh, bool quads_only, float angle_degrees)
      : mesh_(mesh), layout_(mesh_detail::MakeFaceLayout(mesh)), twin_(mesh_detail::EdgeTwins(mesh, layout_, true)),
        normal_(mesh_detail::FaceNormals(mesh, layout_)), quads_only_(quads_only),
        cos_limit_(mesh_detail::CosineLimit(angle_degrees)) {
    const int32_t corners = static_cast<int32_t>(mesh.corner_count());
    next_.resize(corners);
    prev_.resize(corners);
    alias_.resize(corners);
    for (int32_t c = 0; c < corners; ++c) {
      next_[c] = mesh_detail::NextCorner(layout_, c);
      prev_[c] = mesh_detail::PrevCorner(layout_, c);
      alias_[c] = c;
    }
    owner_.resize(mesh.face_sizes.size());
    for (size_t f = 0; f < owner_.size(); ++f) owner_[f] = static_cast<int32_t>(f);
    size_ = mesh.face_sizes;
  }

  void Run() {
    for (int32_t f = 0; f < static_cast<int32_t>(owner_.size()); ++f) {
      int32_t order[kSortedEdgesMax];
      const int32_t count = EdgeOrder(f, order);
      for (int32_t k = 0; k < count; ++k) TryMerge(order[k]);
      for (int32_t c = layout_.start[f] + count; c < layout_.start[f + 1]; ++c) TryMerge(c);
    }
    Rebuild();
  }

 private:
  // Edges (by starting corner) of a small polygon, longest first: across a
  // triangulated quad the diagonal is the longest edge of both triangles,
  // so quads pair up along their diagonals. Larger polygons keep their order.
  int32_t EdgeOrder(int32_t f, int32_t order[kSortedEdgesMax]) const {
    const int32_t begin = layout_.start[f], size = layout_.start[f + 1] - begin;
    if (size > kSortedEdgesMax) return 0;
    float length2[kSortedEdgesMax];
    for (int32_t k = 0; k < size; ++k) {
      // Insertion into the sorted front: at most eight entries.
      const float l = EdgeLength2(begin + k);
      int32_t at = k;
      for (; at > 0 && length2[at - 1] < l; --at) {
        length2[at] = length2[at - 1];
        order[at] = order[at - 1];
      }
      length2[at] = l;
      order[at] = begin + k;
    }
    return size;
  }

  float EdgeLength2(int32_t c) const {
    const Vec3 d = Sub(Position(mesh_detail::NextCorner(layout_, c)), Position(c));
    return Dot(d, d);
  }

  const Vec3 &Position(int32_t c) const { return mesh_.positions[mesh_.position_index[c]]; }

  int32_t Owner(int32_t f) {
    while (owner_[f] != f) {
      owner_[f] = owner_[owner_[f]];
      f = owner_[f];
    }
    return f;
  }

  // The corner now standing on the ring in place of corner c.
  int32_t OnRing(int32_t c) {
    while (alias_[c] != c) {
      alias_[c] = alias_[alias_[c]];
      c = alias_[c];
    }
    return c;
  }

  static bool SameValue(const std::vector<Vec3> &values, const std::vector<int32_t> &index, int32_t a, int32_t b) {
    if (index.empty() || index[a] == index[b]) return true;
    const Vec3 &u = values[index[a]], &v = values[index[b]];
    for (int k = 0; k < 3; ++k)
      if (!(std::fabs(u[k] - v[k]) <= kAttributeTolerance)) return false;
    return true;
  }

  // Texture and colour seams must stay; normals may differ as far as the
  // coplanar angle lets the polygons differ, and the kept corner's wins.
  bool SameAttributes(int32_t a, int32_t b) const {
    return SameValue(mesh_.texcoords, mesh_.texcoord_index, a, b) &&
           SameValue(mesh_.colors, mesh_.color_index, a, b);
  }

  bool ConvexTurn(int32_t before, int32_t at, int32_t after, const Vec3 &normal) const {
    const Vec3 in = Sub(Position(at), Position(before));
    const Vec3 out = Sub(Position(after), Position(at));
    return Dot(Cross(in, out), normal) >
           kMinTurn * Length(in) * Length(out);
  }

  bool Compatible(int32_t p, int32_t q) const {
    if (!mesh_.face_surface.empty() && mesh_.face_surface[p] != mesh_.face_surface[q]) return false;
    if (quads_only_ && (size_[p] != 3 || size_[q] != 3)) return false;
    return Dot(normal_[p], normal_[q]) >= cos_limit_;
  }

  // Merges the polygon holding edge corner c into the one across it.
  void TryMerge(int32_t c) {
    if (twin_[c] < 0) return;
    const int32_t p = Owner(layout_.face_of[c]), q = Owner(layout_.face_of[twin_[c]]);
    if (p == q || !Compatible(p, q)) return;
    // Ring p runs x -> s -> e -> y along the edge, ring q runs u -> s2 -> e2 -> w
    // the other way; p keeps s and e, q's s2 and e2 drop out.
    const int32_t s = OnRing(c), e = next_[s], s2 = OnRing(twin_[c]), e2 = next_[s2];
    const std::vector<int32_t> &pos = mesh_.position_index;
    if (pos[s] != pos[e2] || pos[e] != pos[s2]) return;
    if (!SameAttributes(s, e2) || !SameAttributes(e, s2)) return;
    const int32_t x = prev_[s], y = next_[e], u = prev_[s2], w = next_[e2];
    if (!ConvexTurn(x, s, w, normal_[p]) || !ConvexTurn(u, e, y, normal_[p])) return;
    next_[s] = w;
    prev_[w] = s;
    next_[u] = e;
    prev_[e] = u;
    alias_[e2] = s;
    alias_[s2] = e;
    owner_[q] = p;
    size_[p] += size_[q] - 2;
  }

  // Writes the surviving rings back as polygons, in the order of their
  // first polygon; a ring starts at its first polygon's first corner, which
  // a surviving ring never loses.
  void Rebuild() {
    Mesh &m = mesh_;
    std::vector<int32_t> sizes, surfaces, corner_order;
    corner_order.reserve(m.corner_count());
    for (int32_t f = 0; f < static_cast<int32_t>(owner_.size()); ++f) {
      if (Owner(f) != f) continue;
      sizes.push_back(size_[f]);
      if (!m.face_surface.empty()) surfaces.push_back(m.face_surface[f]);
      int32_t c = layout_.start[f];
      for (int32_t k = 0; k < size_[f]; ++k, c = next_[c]) corner_order.push_back(c);
    }
    if (sizes.size() == m.face_sizes.size()) return;
    for (MeshStream stream : mesh_detail::kAllStreams) {
      mesh_detail::StreamRef ref = mesh_detail::StreamOf(m, stream);
      if (ref.index->empty()) continue;
      std::vector<int32_t> index(corner_order.size());
      for (size_t k = 0; k < corner_order.size(); ++k) index[k] = (*ref.index)[corner_order[k]];
      ref.index->swap(index);
      mesh_detail::CompactStream(*ref.values, *ref.index);
    }
    m.face_sizes.swap(sizes);
    if (!m.face_surface.empty()) m.face_surface.swap(surfaces);
  }

  Mesh &mesh_;
  const FaceLayout layout_;
  const std::vector<int32_t> twin_;
  const std::vector<Vec3> normal_;
  const bool quads_only_;
  const float cos_limit_;
  std::vector<int32_t> next_, prev_;            // ring links per corner
  std::vector<int32_t> alias_;                  // a dropped corner's stand-in at the same position
  std::vector<int32_t> owner_;                  // polygon a polygon was merged into (itself while it survives)
  std::vector<int32_t> size_;                   // corners of each surviving ring
};

}  // namespace

void MergeCoplanarPolygons(Mesh &mesh, bool quads_only, float angle_degrees) {
  assert(CheckMesh(mesh, nullptr));
  if (mesh.face_sizes.size() < 2) return;
  PolygonMerger(mesh, quads_only, angle_degrees).Run();
}

}  // namespace kavrel
