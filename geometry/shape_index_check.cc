#include "geometry/shape_index_check.h"

#include <Inventor/elements/SoCoordinateElement.h>
#include <Inventor/elements/SoMaterialBindingElement.h>
#include <Inventor/elements/SoNormalBindingElement.h>
#include <Inventor/elements/SoNormalElement.h>
#include <Inventor/elements/SoTextureCoordinateBindingElement.h>
#include <Inventor/elements/SoTextureCoordinateElement.h>
#include <Inventor/misc/SoState.h>
#include <Inventor/nodes/SoFaceSet.h>
#include <Inventor/nodes/SoIndexedShape.h>
#include <Inventor/nodes/SoLineSet.h>
#include <Inventor/nodes/SoPointSet.h>
#include <Inventor/nodes/SoQuadMesh.h>
#include <Inventor/nodes/SoTriangleStripSet.h>

#include <algorithm>
#include <cstdint>
#include <utility>

namespace {

struct ArraySizes {
  int64_t coords, normals, texcoords;          // 0 for normals and texcoords Coin3D makes itself
};

ArraySizes SizesIn(SoState *state) {
  ArraySizes sizes{};
  sizes.coords = SoCoordinateElement::getInstance(state)->getNum();
  sizes.normals = SoNormalElement::getInstance(state)->getNum();
  if (SoTextureCoordinateElement::getType(state) == SoTextureCoordinateElement::EXPLICIT)
    sizes.texcoords = SoTextureCoordinateElement::getInstance(state)->getNum();
  return sizes;
}

// Largest entry of an index field, -1 when it has none at or above 0 (a
// lone -1 is the field's "not given").
int64_t MaxIndex(const SoMFInt32 &field) {
  int64_t most = -1;
  const int32_t *values = field.getValues(0);
  for (int i = 0; i < field.getNum(); ++i) most = std::max<int64_t>(most, values[i]);
  return most;
}

// -1 ends a polygon or strip; Coin3D takes any other negative entry for an index.
bool HasNegativeIndex(const SoMFInt32 &field, int32_t *found) {
  const int32_t *values = field.getValues(0);
  const int32_t *bad = std::find_if(values, values + field.getNum(), [](int32_t v) { return v < -1; });
  if (bad == values + field.getNum()) return false;
  *found = *bad;
  return true;
}

int64_t CountVertices(const SoMFInt32 &field) {
  const int32_t *values = field.getValues(0);
  return std::count_if(values, values + field.getNum(), [](int32_t v) { return v >= 0; });
}

std::string Beyond(const char *what, int64_t index, int64_t size, const char *array) {
  return std::string(what) + " " + std::to_string(index) + " beyond " + std::to_string(size) + " " + array;
}

// What an indexed shape's coordIndex lays down, for the bindings that read
// one index per vertex, face or part.
struct IndexedLayout {
  int64_t entries = 0;  // coordIndex entries up to its last vertex, separators included
  int64_t parts = 0;    // polygons or strips, or the polylines' segments
  int64_t faces = 0;    // polygons, the strips' triangles, or polylines
};

// What the runs between -1 entries are.
enum class IndexRuns { kPolygons, kStrips, kPolylines };

IndexedLayout LayoutOfIndices(const SoMFInt32 &coord_index, IndexRuns runs) {
  IndexedLayout layout;
  int64_t run = 0;
  auto close_run = [&] {
    if (run > 0) layout.faces += runs == IndexRuns::kStrips ? std::max<int64_t>(run - 2, 0) : 1;
    if (runs == IndexRuns::kPolylines) layout.parts += std::max<int64_t>(run - 1, 0);
    else layout.parts += run > 0;
    run = 0;
  };
  const int32_t *values = coord_index.getValues(0);
  for (int i = 0; i < coord_index.getNum(); ++i) {
    if (values[i] < 0) {
      close_run();
      continue;
    }
    ++run;
    layout.entries = i + 1;
  }
  close_run();
  return layout;
}

// The largest normal index the binding makes Coin3D read, -1 for none. A
// face of a strip set is one of its triangles.
int64_t NormalReach(SoState *state, const SoIndexedShape &shape, const IndexedLayout &layout) {
  const int64_t explicit_index = MaxIndex(shape.normalIndex);
  switch (SoNormalBindingElement::get(state)) {
    case SoNormalBindingElement::PER_VERTEX_INDEXED:
      return explicit_index >= 0 ? explicit_index : MaxIndex(shape.coordIndex);
    case SoNormalBindingElement::PER_FACE_INDEXED:
    case SoNormalBindingElement::PER_PART_INDEXED:
      // Without normalIndex the reading is not laid down: allow for all.
      return explicit_index >= 0 ? explicit_index
                                 : std::max({layout.faces - 1, layout.parts - 1, MaxIndex(shape.coordIndex)});
    case SoNormalBindingElement::PER_VERTEX: return CountVertices(shape.coordIndex) - 1;
    case SoNormalBindingElement::PER_FACE: return layout.faces - 1;
    case SoNormalBindingElement::PER_PART: return layout.parts - 1;
    default: return 0;
  }
}

// Coin3D takes an index field without entries, or with one negative entry,
// as not given.
bool IndicesGiven(const SoMFInt32 &field) { return field.getNum() > 1 || (field.getNum() == 1 && field[0] >= 0); }

// Material and normal bindings share their values; entries an explicit
// index field must hold for the binding, 0 when it reads none.
int64_t EntriesNeeded(int binding, const IndexedLayout &layout) {
  switch (binding) {
    case SoNormalBindingElement::PER_VERTEX_INDEXED: return layout.entries;
    case SoNormalBindingElement::PER_FACE_INDEXED: return layout.faces;
    case SoNormalBindingElement::PER_PART_INDEXED: return layout.parts;
    default: return 0;
  }
}
static_assert(int(SoMaterialBindingElement::PER_VERTEX_INDEXED) == int(SoNormalBindingElement::PER_VERTEX_INDEXED) &&
                  int(SoMaterialBindingElement::PER_FACE_INDEXED) == int(SoNormalBindingElement::PER_FACE_INDEXED) &&
                  int(SoMaterialBindingElement::PER_PART_INDEXED) == int(SoNormalBindingElement::PER_PART_INDEXED),
              "material and normal bindings are read with one table");

// Coin3D walks an explicit index field one entry per vertex, face or part
// without looking at its length; a face or part binding reads every entry
// it walks as an index, and without the field it reads through nothing.
// required: whether the binding needs the field given (it has no fallback).
std::string CheckIndexCount(const SoMFInt32 &field, const char *name, int64_t needed, bool per_vertex,
                            bool required) {
  if (needed <= 0) return "";
  if (!IndicesGiven(field)) return required ? std::string(name) + " missing" : "";
  if (field.getNum() < needed)
    return std::string(name) + " with " + std::to_string(field.getNum()) + " entries, " + std::to_string(needed) +
           " needed";
  if (per_vertex) return "";
  const int32_t *values = field.getValues(0);
  const int32_t *bad = std::find_if(values, values + needed, [](int32_t v) { return v < 0; });
  return bad == values + needed ? "" : std::string(name) + " " + std::to_string(*bad);
}

std::string CheckBindingCounts(SoState *state, const SoIndexedShape &shape, const IndexedLayout &layout,
                               const ArraySizes &sizes) {
  std::string problem;
  if (sizes.normals > 0) {
    const int binding = SoNormalBindingElement::get(state);
    problem = CheckIndexCount(shape.normalIndex, "normalIndex", EntriesNeeded(binding, layout),
                              binding == SoNormalBindingElement::PER_VERTEX_INDEXED, false);
  }
  if (problem.empty() && sizes.texcoords > 0 &&
      SoTextureCoordinateBindingElement::get(state) == SoTextureCoordinateBindingElement::PER_VERTEX_INDEXED) {
    problem = CheckIndexCount(shape.textureCoordIndex, "textureCoordIndex", layout.entries, true, false);
  }
  if (problem.empty()) {
    const int binding = SoMaterialBindingElement::get(state);
    const bool per_vertex = binding == SoMaterialBindingElement::PER_VERTEX_INDEXED;
    problem = CheckIndexCount(shape.materialIndex, "materialIndex", EntriesNeeded(binding, layout), per_vertex,
                              !per_vertex);
  }
  return problem;
}

std::string CheckIndexedShape(SoState *state, const SoIndexedShape &shape, IndexRuns runs, const ArraySizes &sizes) {
  const std::pair<const SoMFInt32 *, const char *> fields[] = {{&shape.coordIndex, "coordIndex"},
                                                               {&shape.normalIndex, "normalIndex"},
                                                               {&shape.textureCoordIndex, "textureCoordIndex"}};
  for (const auto &[field, name] : fields) {
    int32_t negative = 0;
    if (HasNegativeIndex(*field, &negative)) return std::string(name) + " " + std::to_string(negative);
  }
  const int64_t coord = MaxIndex(shape.coordIndex);
  if (coord >= sizes.coords) return Beyond("coordIndex", coord, sizes.coords, "coordinates");
  const IndexedLayout layout = LayoutOfIndices(shape.coordIndex, runs);
  if (sizes.normals > 0) {
    const int64_t normal = NormalReach(state, shape, layout);
    if (normal >= sizes.normals) return Beyond("normal", normal, sizes.normals, "normals");
  }
  if (sizes.texcoords > 0) {
    const int64_t explicit_index = MaxIndex(shape.textureCoordIndex);
    const bool in_order =
        SoTextureCoordinateBindingElement::get(state) == SoTextureCoordinateBindingElement::PER_VERTEX;
    const int64_t texcoord =
        in_order ? CountVertices(shape.coordIndex) - 1 : explicit_index >= 0 ? explicit_index : coord;
    if (texcoord >= sizes.texcoords)
      return Beyond("texture coordinate", texcoord, sizes.texcoords, "texture coordinates");
  }
  return CheckBindingCounts(state, shape, layout, sizes);
}

// How a non-indexed shape uses its arrays from startIndex on.
struct RunLayout {
  int64_t vertices = 0, parts = 0, faces = 0;
  std::string bad_count;                       // the first count Coin3D cannot walk, "" for none
};

enum class RunKind { kFaces, kStrips, kPolylines };

// Faces, strips or polylines of numVertices; -1 takes the rest of the
// coordinates. A face or strip needs three vertices. Coin3D passes over a
// polyline of fewer than two: it uses up its vertices but no colour or
// normal (a polyline's parts are its segments).
RunLayout RunsOf(const SoMFInt32 &counts, RunKind kind, int64_t available) {
  const int64_t fewest = kind == RunKind::kPolylines ? 0 : 3;
  RunLayout layout;
  for (int i = 0; i < counts.getNum(); ++i) {
    int64_t n = counts[i];
    if (n < fewest && n != -1 && layout.bad_count.empty()) layout.bad_count = "numVertices " + std::to_string(n);
    if (n == -1) n = std::max<int64_t>(available - layout.vertices, 0);
    layout.vertices += std::max<int64_t>(n, 0);
    if (kind == RunKind::kPolylines) {
      if (n >= 2) {
        layout.faces += 1;
        layout.parts += n - 1;
      }
    } else {
      layout.parts += 1;
      layout.faces += kind == RunKind::kStrips ? std::max<int64_t>(n - 2, 0) : 1;
    }
  }
  return layout;
}

RunLayout LayoutOf(const SoNode *node, ShapeClass shape_class, int64_t available) {
  if (shape_class == kShapeQuadMesh) {
    const SoQuadMesh *mesh = static_cast<const SoQuadMesh *>(node);
    const int64_t columns = mesh->verticesPerColumn.getValue(), rows = mesh->verticesPerRow.getValue();
    RunLayout layout;
    if (columns < 0 || rows < 0) layout.bad_count = "a negative vertex count";
    layout.vertices = columns * rows;
    layout.parts = std::max<int64_t>(columns - 1, 0);
    layout.faces = layout.parts * std::max<int64_t>(rows - 1, 0);
    return layout;
  }
  if (shape_class == kShapeFaceSet)
    return RunsOf(static_cast<const SoFaceSet *>(node)->numVertices, RunKind::kFaces, available);
  if (shape_class == kShapeLineSet)
    return RunsOf(static_cast<const SoLineSet *>(node)->numVertices, RunKind::kPolylines, available);
  if (shape_class == kShapePointSet) {
    const int64_t points = static_cast<const SoPointSet *>(node)->numPoints.getValue();
    RunLayout layout;
    layout.vertices = layout.parts = layout.faces = points < 0 ? std::max<int64_t>(available, 0) : points;
    return layout;
  }
  return RunsOf(static_cast<const SoTriangleStripSet *>(node)->numVertices, RunKind::kStrips, available);
}

// Normals a non-indexed shape reads (indexed bindings read in order here).
int64_t NormalsNeeded(SoState *state, const RunLayout &layout, int64_t start) {
  switch (SoNormalBindingElement::get(state)) {
    case SoNormalBindingElement::PER_PART:
    case SoNormalBindingElement::PER_PART_INDEXED: return layout.parts;
    case SoNormalBindingElement::PER_FACE:
    case SoNormalBindingElement::PER_FACE_INDEXED: return layout.faces;
    case SoNormalBindingElement::PER_VERTEX:
    case SoNormalBindingElement::PER_VERTEX_INDEXED: return start + layout.vertices;
    default: return 1;
  }
}

std::string CheckNonIndexedShape(SoState *state, const SoNonIndexedShape &shape, ShapeClass shape_class,
                                 const ArraySizes &sizes) {
  const int64_t start = shape.startIndex.getValue();
  if (start < 0) return "startIndex " + std::to_string(start);
  const RunLayout layout = LayoutOf(&shape, shape_class, sizes.coords - start);
  if (!layout.bad_count.empty()) return layout.bad_count;
  if (start + layout.vertices > sizes.coords)
    return Beyond("vertex", start + layout.vertices - 1, sizes.coords, "coordinates");
  const int64_t normals = NormalsNeeded(state, layout, start);
  if (sizes.normals > 0 && normals > sizes.normals) return Beyond("normal", normals - 1, sizes.normals, "normals");
  if (sizes.texcoords > 0 && start + layout.vertices > sizes.texcoords)
    return Beyond("texture coordinate", start + layout.vertices - 1, sizes.texcoords, "texture coordinates");
  return "";
}

IndexRuns IndexRunsOf(ShapeClass shape_class) {
  return shape_class == kShapeIndexedTriangleStripSet ? IndexRuns::kStrips
         : shape_class == kShapeIndexedLineSet        ? IndexRuns::kPolylines
                                                      : IndexRuns::kPolygons;
}

}  // namespace

std::string FindIndexOutOfRange(SoState *state, const SoNode *node, ShapeClass shape_class) {
  switch (shape_class) {
    case kShapeIndexedFaceSet:
    case kShapeIndexedLineSet:
    case kShapeIndexedTriangleStripSet:
      return CheckIndexedShape(state, *static_cast<const SoIndexedShape *>(node), IndexRunsOf(shape_class),
                               SizesIn(state));
    case kShapeFaceSet:
    case kShapeLineSet:
    case kShapePointSet:
    case kShapeTriangleStripSet:
    case kShapeQuadMesh:
      return CheckNonIndexedShape(state, *static_cast<const SoNonIndexedShape *>(node), shape_class, SizesIn(state));
    default:
      return "";
  }
}
