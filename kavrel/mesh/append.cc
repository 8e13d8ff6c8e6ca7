// Appending one mesh to another under a matrix (baking an instance's
// transform into gathered geometry).
#include <cassert>
#include <unordered_map>

#include "kavrel/mesh/mesh_internal.h"

namespace kavrel {

namespace {

using mesh_detail::FaceLayout;

// What the matrix does to positions and to normals.
struct Transform {
  const Matrix &m;
  Vec3 normal_rows[3];                          // inverse transpose of the 3x3 part, up to a positive factor
  bool mirrors;                                 // negative determinant: the winding turns over

  explicit Transform(const Matrix &matrix) : m(matrix) {
    const Vec3 r0{m[0], m[1], m[2]}, r1{m[4], m[5], m[6]}, r2{m[8], m[9], m[10]};
    // The cofactor matrix is the inverse transpose times the determinant;
    // its sign is put back so that normals keep pointing to the front.
    const Vec3 c0 = Cross(r1, r2), c1 = Cross(r2, r0), c2 = Cross(r0, r1);
    const float det = Dot(r0, c0);
    mirrors = det < 0.0f;
    const float sign = mirrors ? -1.0f : 1.0f;
    const Vec3 *cof[3] = {&c0, &c1, &c2};
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) normal_rows[i][j] = sign * (*cof[i])[j];
  }

  Vec3 Point(const Vec3 &p) const { return TransformPoint(m, p); }

  Vec3 Normal(const Vec3 &n) const {
    Vec3 out;
    for (int j = 0; j < 3; ++j) out[j] = n[0] * normal_rows[0][j] + n[1] * normal_rows[1][j] + n[2] * normal_rows[2][j];
    return Normalized(out);
  }
};

// A stream's values and indices, either the mesh's own or stand-ins made
// for a mesh that lacks the stream.
struct StreamData {
  std::vector<Vec3> values;
  std::vector<int32_t> index;
};

// Stand-ins for a missing stream: the polygons' own normals, or one
// neutral value for texture coordinates and colours.
StreamData DefaultStream(const Mesh &mesh, MeshStream stream) {
  StreamData data;
  if (stream == MeshStream::kNormal) {
    const FaceLayout layout = mesh_detail::MakeFaceLayout(mesh);
    data.values = mesh_detail::FaceNormals(mesh, layout);
    if (mesh.clockwise)
      for (Vec3 &n : data.values) n = {-n[0], -n[1], -n[2]};
    data.index = layout.face_of;
    return data;
  }
  data.values.push_back(stream == MeshStream::kColor ? Vec3{1, 1, 1} : Vec3{0, 0, 0});
  data.index.assign(mesh.corner_count(), 0);
  return data;
}

void AppendStream(Mesh &dst, const Mesh &src, MeshStream stream, const Transform &transform,
                  const std::vector<int32_t> &corner_order) {
  mesh_detail::StreamRef out = mesh_detail::StreamOf(dst, stream);
  StreamData made;
  const std::vector<Vec3> *values = nullptr;
  const std::vector<int32_t> *index = nullptr;
  if (HasStream(src, stream)) {
    mesh_detail::ConstStreamRef in = mesh_detail::StreamOf(src, stream);
    values = in.values;
    index = in.index;
  } else {
    made = DefaultStream(src, stream);
    values = &made.values;
    index = &made.index;
  }
  const int32_t base = static_cast<int32_t>(out.values->size());
  out.values->reserve(out.values->size() + values->size());
  for (const Vec3 &v : *values) {
    if (stream == MeshStream::kPosition) out.values->push_back(transform.Point(v));
    else if (stream == MeshStream::kNormal) out.values->push_back(transform.Normal(v));
    else out.values->push_back(v);
  }
  out.index->reserve(out.index->size() + corner_order.size());
  for (int32_t c : corner_order) out.index->push_back(base + (*index)[c]);
}

// Source corners in the order they are appended: each polygon's first
// corner, then the others backwards when the winding must turn over.
std::vector<int32_t> CornerOrder(const Mesh &src, bool reverse) {
  std::vector<int32_t> order(src.corner_count());
  int32_t begin = 0;
  for (int32_t size : src.face_sizes) {
    order[begin] = begin;
    for (int32_t k = 1; k < size; ++k) order[begin + k] = reverse ? begin + size - k : begin + k;
    begin += size;
  }
  return order;
}

void AppendFaceSurfaces(Mesh &dst, const Mesh &src, size_t dst_faces_before) {
  if (src.face_surface.empty() && dst.face_surface.empty()) return;
  dst.face_surface.resize(dst_faces_before, -1);
  if (src.face_surface.empty()) {
    dst.face_surface.resize(dst_faces_before + src.face_sizes.size(), -1);
    return;
  }
  std::unordered_map<std::string, int32_t> known;
  for (size_t i = 0; i < dst.surface_names.size(); ++i) known.emplace(dst.surface_names[i], static_cast<int32_t>(i));
  // Names are carried over on first use, so unused ones stay behind.
  constexpr int32_t kUnmapped = -2;
  std::vector<int32_t> remap(src.surface_names.size(), kUnmapped);
  for (int32_t s : src.face_surface) {
    if (s >= 0 && remap[s] == kUnmapped) {
      auto it = known.emplace(src.surface_names[s], static_cast<int32_t>(dst.surface_names.size())).first;
      if (it->second == static_cast<int32_t>(dst.surface_names.size())) dst.surface_names.push_back(src.surface_names[s]);
      remap[s] = it->second;
    }
    dst.face_surface.push_back(s < 0 ? -1 : remap[s]);
  }
}

}  // namespace

void AppendMesh(Mesh &dst, const Mesh &src, const Matrix &matrix) {
  assert(CheckMesh(src, nullptr) && CheckMesh(dst, nullptr));
  if (src.face_sizes.empty()) return;
  const bool dst_empty = dst.face_sizes.empty();
  if (dst_empty) dst.clockwise = src.clockwise;
  const Transform transform(matrix);
  const std::vector<int32_t> order = CornerOrder(src, transform.mirrors != (src.clockwise != dst.clockwise));
  for (MeshStream stream : mesh_detail::kAllStreams) {
    const bool in_dst = HasStream(dst, stream), in_src = HasStream(src, stream);
    if (!in_dst && !in_src) continue;
    if (!in_dst && !dst_empty) {
      StreamData made = DefaultStream(dst, stream);
      mesh_detail::StreamRef out = mesh_detail::StreamOf(dst, stream);
      out.values->swap(made.values);
      out.index->swap(made.index);
    }
    AppendStream(dst, src, stream, transform, order);
  }
  const size_t faces_before = dst.face_sizes.size();
  dst.face_sizes.insert(dst.face_sizes.end(), src.face_sizes.begin(), src.face_sizes.end());
  AppendFaceSurfaces(dst, src, faces_before);
}

}  // namespace kavrel
