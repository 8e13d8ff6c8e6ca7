#include "geometry/shape_outline.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <tuple>
#include <vector>

#include "host/host_records.h"
#include "host/import_io.h"
#include "host/kv_toolkit.h"
#include "state/state.h"

namespace {

// A corner's position by its bits: damaged files may hold NaNs, which
// would break the sort's ordering as floats.
using PositionKey = std::array<uint32_t, 3>;

PositionKey KeyOf(const IndexedPolygons &polygons, int32_t slot) {
  PositionKey key;
  std::memcpy(key.data(), polygons.positions + 3 * static_cast<size_t>(slot), sizeof key);
  return key;
}

struct Edge {
  PositionKey from, to;                        // from < to
  uint64_t face;
  int32_t from_slot, to_slot;
  bool SameLine(const Edge &other) const { return from == other.from && to == other.to; }
};

std::vector<Edge> TriangleEdges(const ShapeAccumulator &shape) {
  const IndexedPolygons &polygons = *shape.polygons;
  std::vector<Edge> edges;
  edges.reserve(3 * static_cast<size_t>(shape.triangle_count));
  for (int32_t t = 0; t < shape.triangle_count; ++t) {
    for (int32_t k = 0; k < 3; ++k) {
      int32_t a = 3 * t + k, b = 3 * t + (k + 1) % 3;
      PositionKey ka = KeyOf(polygons, a), kb = KeyOf(polygons, b);
      if (ka == kb) continue;
      if (kb < ka) std::swap(ka, kb), std::swap(a, b);
      edges.push_back({ka, kb, shape.triangle_faces[t], a, b});
    }
  }
  std::sort(edges.begin(), edges.end(), [](const Edge &x, const Edge &y) {
    return std::tie(x.from, x.to, x.face) < std::tie(y.from, y.to, y.face);
  });
  return edges;
}

// True when some face has the edge [begin, end) (one line, sorted by face) once.
bool BoundsAFace(const Edge *begin, const Edge *end) {
  for (const Edge *e = begin; e != end;) {
    const Edge *same_face = e;
    while (same_face != end && same_face->face == e->face) ++same_face;
    if (same_face - e == 1) return true;
    e = same_face;
  }
  return false;
}

int32_t IndexLines(const ShapeAccumulator &shape) {
  const std::vector<Edge> edges = TriangleEdges(shape);
  IndexedPolygons &polygons = *shape.polygons;
  int32_t written = 0;
  for (size_t i = 0; i < edges.size();) {
    size_t j = i + 1;
    while (j < edges.size() && edges[j].SameLine(edges[i])) ++j;
    if (BoundsAFace(&edges[i], &edges[0] + j)) {
      polygons.vertices_per_polygon[written] = 2;
      polygons.vertex_indices[2 * written] = edges[i].from_slot;
      polygons.vertex_indices[2 * written + 1] = edges[i].to_slot;
      ++written;
    }
    i = j;
  }
  polygons.num_vertex_indices = 2 * written;
  return written;
}

int32_t IndexPoints(const ShapeAccumulator &shape) {
  IndexedPolygons &polygons = *shape.polygons;
  std::vector<std::pair<PositionKey, int32_t>> corners;
  corners.reserve(3 * static_cast<size_t>(shape.triangle_count));
  for (int32_t slot = 0; slot < 3 * shape.triangle_count; ++slot) corners.emplace_back(KeyOf(polygons, slot), slot);
  std::sort(corners.begin(), corners.end());
  int32_t written = 0;
  for (size_t i = 0; i < corners.size(); ++i) {
    if (i > 0 && corners[i].first == corners[i - 1].first) continue;
    polygons.vertices_per_polygon[written] = 1;
    polygons.vertex_indices[written] = corners[i].second;
    ++written;
  }
  polygons.num_vertex_indices = written;
  return written;
}

// Per-face surfaces were named per triangle (a null slot repeats the one
// before); each written polygon takes its triangle's. The names are fresh
// copies, the old ones released: each slot owns its string.
void RelabelFaceSurfaces(IndexedPolygons &polygons, int32_t triangles, int32_t written, int32_t stride) {
  char **slots = polygons.surface_names;
  if (!slots) return;
  std::vector<const char *> of_triangle(static_cast<size_t>(triangles), nullptr);
  for (int32_t t = 0; t < triangles; ++t) of_triangle[t] = slots[t] ? slots[t] : t > 0 ? of_triangle[t - 1] : nullptr;
  std::vector<char *> fresh(static_cast<size_t>(written), nullptr);
  const char *before = nullptr;
  for (int32_t i = 0; i < written; ++i) {
    const char *name = of_triangle[polygons.vertex_indices[stride * i] / 3];
    if (name && (!before || std::strcmp(name, before) != 0)) Import_IO_Copy_String(&fresh[i], name);
    if (name) before = name;
  }
  for (int32_t p = 0; p < polygons.num_polygons; ++p) {
    if (slots[p]) Kv_Free_Memory(slots[p]);
    slots[p] = p < written ? fresh[p] : nullptr;
  }
}

}  // namespace

int32_t IndexOutline(const ShapeAccumulator &shape) {
  const bool lines = shape.outline == ShapeOutline::kLines;
  const int32_t written = lines ? IndexLines(shape) : IndexPoints(shape);
  RelabelFaceSurfaces(*shape.polygons, shape.triangle_count, written, lines ? 2 : 1);
  shape.polygons->num_polygons = written;
  return written;
}
