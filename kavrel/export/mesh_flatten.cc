#include "kavrel/export/mesh_flatten.h"

#include <algorithm>
#include <cassert>

#include "common/polygon_normal.h"
#include "kavrel/export/repeated_primitives.h"
#include "kavrel/memory/large_blocks.h"
#include "kavrel/mesh/anchored_table.h"

namespace kavrel {
namespace {

enum Stream { kPosition, kNormal, kTexcoord, kColor, kStreamCount };

// Per-stream value index, 0 for absent streams. Compared member by member:
// std::array's comparison becomes a library call per probe.
struct VertexKey {
  int32_t index[kStreamCount];
  int32_t &operator[](int s) { return index[s]; }
  int32_t operator[](int s) const { return index[s]; }
  bool operator==(const VertexKey &o) const {
    return index[0] == o.index[0] && index[1] == o.index[1] && index[2] == o.index[2] && index[3] == o.index[3];
  }
};

struct VertexKeyHash {
  uint64_t operator()(const VertexKey &key) const {
    uint64_t h = 0x9E3779B97F4A7C15ull;
    for (int32_t v : key.index) {
      h ^= static_cast<uint32_t>(v);
      h *= 0xBF58476D1CE4E5B9ull;
      h ^= h >> 29;
    }
    return h;
  }
};

class Flattener {
 public:
  Flattener(const Mesh &mesh, ExportNotes &notes, bool trusted);
  FlatMesh Run();

 private:
  bool Accept(const std::vector<Vec3> &values, const std::vector<int32_t> &index);
  int32_t GroupOf(size_t face) const;
  void Reserve();
  bool CornersInRange(size_t begin, size_t count) const;
  Vec3 FaceNormal(size_t begin, size_t count) const;
  uint32_t VertexFor(size_t corner, size_t begin, size_t count);
  bool HasArea(size_t a, size_t b, size_t c) const;
  void EmitVertices();
  struct Origin {
    uint32_t begin, count;                     // corners of the polygon that made the vertex
  };
  void Emit(const VertexKey &key, const Origin &origin);
  void AddPolygon(size_t face, size_t begin, size_t count);
  void AddSegmentOrPoint(size_t face, size_t begin, size_t count);
  std::vector<uint32_t> &GroupList(PrimitiveKind kind, size_t face) {
    return groups_[VerticesPer(kind) - 1][GroupOf(face)];
  }

  const Mesh &mesh_;
  ExportNotes &notes_;
  const bool trusted_;                         // the mesh passes CheckMesh
  const std::vector<Vec3> *values_[kStreamCount];
  const std::vector<int32_t> *index_[kStreamCount];
  bool active_[kStreamCount] = {};
  // Distinct corner tuples, by vertex id, anchored at their position.
  AnchoredTable<VertexKey, VertexKeyHash> vertices_{0, 0};
  std::vector<Origin> origins_;                // per vertex
  // By vertices per primitive - 1 (points, segments, triangles), then by face surface + 1.
  std::vector<std::vector<uint32_t>> groups_[3];
  std::vector<uint32_t> polygon_;              // vertex ids of the polygon at hand
  std::vector<uint8_t> kept_;                  // per fan triangle of the polygon at hand: it has an area
  FlatMesh out_;
};

Flattener::Flattener(const Mesh &mesh, ExportNotes &notes, bool trusted)
    : mesh_(mesh),
      notes_(notes),
      trusted_(trusted),
      values_{&mesh.positions, &mesh.normals, &mesh.texcoords, &mesh.colors},
      index_{&mesh.position_index, &mesh.normal_index, &mesh.texcoord_index, &mesh.color_index} {}

bool Flattener::Accept(const std::vector<Vec3> &values, const std::vector<int32_t> &index) {
  if (index.empty()) return false;
  if (index.size() == mesh_.corner_count() && !values.empty()) return true;
  ++notes_.ignored_streams;
  return false;
}

// Index into groups_: the face's surface + 1, so that 0 is the instance's surface.
int32_t Flattener::GroupOf(size_t face) const {
  int32_t surface = face < mesh_.face_surface.size() ? mesh_.face_surface[face] : kNone;
  if (surface < kNone || surface >= static_cast<int32_t>(mesh_.surface_names.size())) surface = kNone;
  return surface + 1;
}

// Sizes everything once, so that the per-corner work never allocates but
// for a position with more tuples than a chain holds: room for a vertex per
// corner (in untouched blocks, so that only the pages used are ever
// touched), the triangle, segment and point lists exactly; the vertex
// arrays, which the document keeps, are sized exactly once the vertices
// are known.
void Flattener::Reserve() {
  const size_t corners = mesh_.corner_count();
  vertices_ = AnchoredTable<VertexKey, VertexKeyHash>(mesh_.positions.size(), corners);
  {
    UntouchedBlocks untouched;
    origins_.reserve(corners);
  }
  std::vector<size_t> primitives[3];
  for (std::vector<size_t> &counts : primitives) counts.assign(mesh_.surface_names.size() + 1, 0);
  for (size_t face = 0; face < mesh_.face_sizes.size(); ++face) {
    const int32_t size = mesh_.face_sizes[face];
    if (size >= 3) primitives[2][GroupOf(face)] += size - 2;
    else if (size >= 1) ++primitives[size - 1][GroupOf(face)];
  }
  for (size_t n = 0; n < 3; ++n) {
    groups_[n].resize(primitives[n].size());
    for (size_t g = 0; g < groups_[n].size(); ++g) groups_[n][g].reserve((n + 1) * std::min(primitives[n][g], corners));
  }
  polygon_.reserve(64);
  kept_.reserve(64);
}

bool Flattener::CornersInRange(size_t begin, size_t count) const {
  for (int s = 0; s < kStreamCount; ++s) {
    if (!active_[s]) continue;
    const int32_t size = static_cast<int32_t>(values_[s]->size());
    for (size_t c = begin; c < begin + count; ++c) {
      int32_t i = (*index_[s])[c];
      if (i < 0 || i >= size) return false;
    }
  }
  return true;
}

// The polygon's own normal, turned to the front side.
Vec3 Flattener::FaceNormal(size_t begin, size_t count) const {
  const Vec3 n =
      common::PolygonNormal(count, [&](size_t k) { return mesh_.positions[mesh_.position_index[begin + k]]; });
  if (n == Vec3{0, 0, 0}) return {0, 0, 1};
  return mesh_.clockwise ? Vec3{-n[0], -n[1], -n[2]} : n;
}

uint32_t Flattener::VertexFor(size_t corner, size_t begin, size_t count) {
  VertexKey key{};
  for (int s = 0; s < kStreamCount; ++s) {
    if (active_[s]) key[s] = (*index_[s])[corner];
  }
  bool inserted = false;
  const int32_t id = vertices_.Intern(static_cast<size_t>(key[kPosition]), key, &inserted);
  if (inserted) origins_.push_back(Origin{static_cast<uint32_t>(begin), static_cast<uint32_t>(count)});
  return static_cast<uint32_t>(id);
}

// False when two of the corners lie on the same point: such a triangle has
// no area and no front side.
bool Flattener::HasArea(size_t a, size_t b, size_t c) const {
  const Vec3 &pa = mesh_.positions[mesh_.position_index[a]];
  const Vec3 &pb = mesh_.positions[mesh_.position_index[b]];
  const Vec3 &pc = mesh_.positions[mesh_.position_index[c]];
  return pa != pb && pb != pc && pc != pa;
}

void Flattener::EmitVertices() {
  const size_t vertices = vertices_.size();
  out_.positions.reserve(3 * vertices);
  if (active_[kNormal]) out_.normals.reserve(3 * vertices);
  if (active_[kTexcoord]) out_.texcoords.reserve(2 * vertices);
  if (active_[kColor]) out_.colors.reserve(3 * vertices);
  for (size_t id = 0; id < vertices; ++id) Emit(vertices_.keys()[id], origins_[id]);
}

void Flattener::Emit(const VertexKey &key, const Origin &origin) {
  for (float c : mesh_.positions[key[kPosition]]) out_.positions.push_back(notes_.Finite(c));
  if (active_[kNormal]) {
    Vec3 n = mesh_.normals[key[kNormal]];
    bool finite = std::all_of(n.begin(), n.end(), [](float c) { return std::isfinite(c); });
    if (!finite) ++notes_.replaced_numbers;
    // A normal without numbers or length: the polygon's own.
    if (!finite || !Normalize(&n)) n = FaceNormal(origin.begin, origin.count);
    out_.normals.insert(out_.normals.end(), n.begin(), n.end());
  }
  if (active_[kTexcoord]) {
    const Vec3 &t = mesh_.texcoords[key[kTexcoord]];
    out_.texcoords.push_back(notes_.Finite(t[0]));
    out_.texcoords.push_back(1.0f - notes_.Finite(t[1]));  // Inventor's t runs upwards, glTF's v downwards
  }
  if (active_[kColor]) {
    for (float c : mesh_.colors[key[kColor]]) out_.colors.push_back(std::clamp(notes_.Finite(c), 0.0f, 1.0f));
  }
}

// The polygon's fan without the triangles that have no area. The corners
// that the kept triangles use become vertices in corner order.
void Flattener::AddPolygon(size_t face, size_t begin, size_t count) {
  kept_.assign(count - 2, 0);
  bool any = false;
  for (size_t k = 1; k + 1 < count; ++k) {
    kept_[k - 1] = HasArea(begin, begin + k, begin + k + 1);
    any |= kept_[k - 1] != 0;
  }
  if (!any) return;
  polygon_.assign(count, 0);
  for (size_t k = 0; k < count; ++k) {
    const bool used = k == 0 || (k >= 2 && kept_[k - 2]) || (k + 1 < count && kept_[k - 1]);
    if (used) polygon_[k] = VertexFor(begin + k, begin, count);
  }
  std::vector<uint32_t> &group = GroupList(PrimitiveKind::kTriangles, face);
  for (size_t k = 1; k + 1 < count; ++k) {
    if (!kept_[k - 1]) continue;
    // glTF fronts run counter-clockwise: a clockwise mesh's fan is reversed.
    size_t second = mesh_.clockwise ? k + 1 : k, third = mesh_.clockwise ? k : k + 1;
    group.insert(group.end(), {polygon_[0], polygon_[second], polygon_[third]});
  }
}

// A segment with both ends on one point draws nothing, as a triangle
// without area does.
void Flattener::AddSegmentOrPoint(size_t face, size_t begin, size_t count) {
  const std::vector<int32_t> &pos = mesh_.position_index;
  if (count == 2 && mesh_.positions[pos[begin]] == mesh_.positions[pos[begin + 1]]) return;
  std::vector<uint32_t> &group = GroupList(count == 2 ? PrimitiveKind::kLines : PrimitiveKind::kPoints, face);
  for (size_t k = 0; k < count; ++k) group.push_back(VertexFor(begin + k, begin, count));
}

FlatMesh Flattener::Run() {
  for (int s = 0; s < kStreamCount; ++s) active_[s] = Accept(*values_[s], *index_[s]);
  if (!active_[kPosition]) return std::move(out_);
  Reserve();

  const size_t corners = mesh_.corner_count();
  size_t begin = 0;
  for (size_t face = 0; face < mesh_.face_sizes.size(); ++face) {
    int32_t count = mesh_.face_sizes[face];
    if (count < 0 || begin + count > corners) {
      notes_.dropped_polygons += mesh_.face_sizes.size() - face;  // the corner list ends early
      break;
    }
    assert(!trusted_ || (count >= 1 && CornersInRange(begin, count)));
    if (count >= 1 && (trusted_ || CornersInRange(begin, count))) {
      if (count >= 3) AddPolygon(face, begin, count);
      else AddSegmentOrPoint(face, begin, count);
    } else {
      ++notes_.dropped_polygons;
    }
    begin += count;
  }
  EmitVertices();
  for (PrimitiveKind kind : kPrimitiveKinds) {
    std::vector<std::vector<uint32_t>> &lists = groups_[VerticesPer(kind) - 1];
    for (size_t g = 0; g < lists.size(); ++g) {
      if (lists[g].empty()) continue;
      DropRepeatedPrimitives(&lists[g], vertices_.size(), VerticesPer(kind));
      out_.GroupsOf(kind).push_back({static_cast<int32_t>(g) - 1, kNone, std::move(lists[g])});
    }
  }
  return std::move(out_);
}

}  // namespace

FlatMesh FlattenMesh(const Mesh &mesh, ExportNotes &notes, bool trusted) {
  return Flattener(mesh, notes, trusted).Run();
}

}  // namespace kavrel
