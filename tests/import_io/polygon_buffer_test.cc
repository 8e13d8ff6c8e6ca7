// Polygon buffers: allocation, output into the object being defined, release.
#include <algorithm>
#include <iterator>

#include "host/import_io.h"
#include "host/kv_call.hpp"
#include "host_fixture.h"

namespace {

// Buffer for triangles the way the importer asks for it.
IndexedPolygons *AllocTriangles(int32_t triangles, int32_t colors, int32_t clockwise, int32_t per_face) {
  const int32_t corners = 3 * triangles;
  return Import_IO_Alloc_Indexedpolygons(triangles, corners, corners, corners, colors, corners, 0, 0, 0, 1,
                                         clockwise, colors ? 7 : 5, per_face);
}

// Triangle n lies at height n, corner k of it at x = k; each slot carries
// its own normal and uv; the importer's indices 0 .. 3T-1.
void FillTriangles(IndexedPolygons *p, int32_t triangles) {
  for (int32_t slot = 0; slot < 3 * triangles; ++slot) {
    const float n = static_cast<float>(slot / 3), k = static_cast<float>(slot % 3);
    float *pos = p->positions + 3 * slot, *nor = p->normals + 3 * slot, *uv = p->texcoords + 3 * slot;
    pos[0] = k == 1 ? 1.0f : 0.0f;
    pos[1] = k == 2 ? 1.0f : 0.0f;
    pos[2] = n;
    nor[2] = 1.0f;
    uv[0] = k;
    uv[1] = n;
    p->vertex_indices[slot] = slot;
  }
  for (int32_t t = 0; t < triangles; ++t) p->vertices_per_polygon[t] = 3;
}

}  // namespace

using PolygonBufferTest = HostTest;

TEST_F(PolygonBufferTest, ArraysHaveTheRequestedSizesZeroedAndColoursAndSurfaceNamesOnlyWhenAsked) {
  IndexedPolygons *p = AllocTriangles(4, 0, 1, 1);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->colors, nullptr);
  EXPECT_EQ(p->num_polygons, 4);
  EXPECT_EQ(p->num_vertices, 12);
  EXPECT_EQ(p->clockwise, 1);
  EXPECT_EQ(p->data_flags, 5);
  // The last entry of each array is writable (the sanitizer run checks the
  // bounds) and everything starts at zero.
  EXPECT_EQ(p->positions[35] + p->normals[35] + p->texcoords[35], 0.0f);
  EXPECT_EQ(p->vertex_indices[11] + p->vertices_per_polygon[3], 0);
  for (int f = 0; f < 4; ++f) EXPECT_EQ(p->surface_names[f], nullptr);

  IndexedPolygons *coloured = AllocTriangles(2, 6, 0, 0);
  ASSERT_NE(coloured, nullptr);
  coloured->colors[17] = 1.0f;
  EXPECT_EQ(coloured->data_flags, 7);
  EXPECT_EQ(coloured->surface_names, nullptr);  // not asked for
  Import_IO_Free_Indexedpolygons();
}

TEST_F(PolygonBufferTest, ImpossibleCountsGiveNull) {
  EXPECT_EQ(Import_IO_Alloc_Indexedpolygons(-1, 3, 3, 3, 0, 3, 0, 0, 0, 1, 0, 5, 0), nullptr);
  EXPECT_EQ(Import_IO_Alloc_Indexedpolygons(1, 3, 2000000000, 3, 0, 3, 0, 0, 0, 1, 0, 5, 0), nullptr);
  const auto calls = Calls("Import_IO_Alloc_Indexedpolygons");
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0]->items[0].ints, (std::vector<int64_t>{-1, 3, 3, 3, 0, 3, 0, 0, 0, 1, 0, 5, 0}));
  EXPECT_FALSE(calls[1]->error.empty());
}

TEST_F(PolygonBufferTest, OutputFillsTheObjectWithStreamsWindingAndFaceSurfaces) {
  IndexedPolygons *p = AllocTriangles(4, 0, 1, 1);
  ASSERT_NE(p, nullptr);
  FillTriangles(p, 4);
  // Polygon 0 keeps the instance's surface; 1 and 2 are "red" (2 by its
  // null slot); 3 is "blue".
  Import_IO_Copy_String(&p->surface_names[1], "red");
  Import_IO_Copy_String(&p->surface_names[3], "blue");
  Import_IO_Compute_BoundingBox(p->num_vertices, p->positions);

  kv::kv_list(Kv_Object_Define, "Cube");
  EXPECT_EQ(Import_IO_Output_Indexedpolygons(0, "Cube", 0, 0.0f), 0);
  // The arrays went to the object; the names stay with the buffer until it is freed.
  EXPECT_EQ(p->positions, nullptr);
  EXPECT_EQ(p->vertex_indices, nullptr);
  EXPECT_EQ(p->num_vertices, 12);
  EXPECT_STREQ(p->surface_names[3], "blue");
  kv::kv_list(Kv_Object_End, 0);
  Import_IO_Free_Indexedpolygons();

  const kavrel::Object *object = host_.scene().objects.find("Cube");
  ASSERT_NE(object, nullptr);
  const kavrel::Mesh &mesh = object->mesh;
  EXPECT_EQ(mesh.face_sizes, (std::vector<int32_t>{3, 3, 3, 3}));
  EXPECT_EQ(mesh.positions.size(), 12u);
  EXPECT_EQ(mesh.normals.size(), 12u);
  EXPECT_EQ(mesh.texcoords.size(), 12u);
  EXPECT_TRUE(mesh.colors.empty() && mesh.color_index.empty());
  EXPECT_EQ(mesh.texcoords[mesh.texcoord_index[7]], (kavrel::Vec3{1, 2, 0}));
  EXPECT_TRUE(mesh.clockwise);
  EXPECT_EQ(mesh.surface_names, (std::vector<std::string>{"red", "blue"}));
  EXPECT_EQ(mesh.face_surface, (std::vector<int32_t>{-1, 0, 0, 1}));
  EXPECT_EQ(object->bbox_max, (kavrel::Vec3{1, 1, 3}));
  EXPECT_TRUE(errors_.empty());
}

TEST_F(PolygonBufferTest, OutputOutsideAnObjectDefinitionIsReportedAndChangesNothing) {
  IndexedPolygons *p = AllocTriangles(1, 0, 0, 0);
  FillTriangles(p, 1);
  EXPECT_NE(Import_IO_Output_Indexedpolygons(0, "Cube", 0, 0.0f), 0);
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0].first, 4);
  EXPECT_NE(errors_[0].second.find("no object is being defined"), std::string::npos);

  // Indices outside the vertices are refused, not followed.
  p->vertex_indices[2] = 99;
  kv::kv_list(Kv_Object_Define, "Bad");
  EXPECT_NE(Import_IO_Output_Indexedpolygons(0, "Bad", 0, 0.0f), 0);
  EXPECT_TRUE(host_.scene().objects.find("Bad")->mesh.positions.empty());
  EXPECT_EQ(p->vertex_indices[2], 99) << "a refused buffer stays the caller's, unchanged";
  EXPECT_EQ(p->positions[3], 1.0f);
  Import_IO_Abort_Cleanup();
  EXPECT_NE(Import_IO_Output_Indexedpolygons(0, "Bad", 0, 0.0f), 0) << "the buffer should be gone";
}

TEST_F(PolygonBufferTest, SegmentsAndPointsAreKeptWithTheirColoursAndBox) {
  // Two segments sharing an end and a point, with positions and colours
  // only, as a line set comes.
  IndexedPolygons *p = Import_IO_Alloc_Indexedpolygons(3, 5, 4, 0, 4, 0, 0, 0, 0, 0, 0, kPolygonDataWithColors, 0);
  ASSERT_NE(p, nullptr);
  const float positions[] = {0, 0, 0, 1, 0, 0, 1, 1, 0, 5, 5, -5};
  std::copy(std::begin(positions), std::end(positions), p->positions);
  for (int32_t v = 0; v < 4; ++v) p->colors[3 * v] = 1.0f;
  const int32_t indices[] = {0, 1, 1, 2, 3}, sizes[] = {2, 2, 1};
  std::copy(std::begin(indices), std::end(indices), p->vertex_indices);
  std::copy(std::begin(sizes), std::end(sizes), p->vertices_per_polygon);
  kv::kv_list(Kv_Object_Define, "Wires");
  EXPECT_EQ(Import_IO_Output_Indexedpolygons(0, "Wires", 0, 0.0f), 0);
  kv::kv_list(Kv_Object_End, 0);
  Import_IO_Free_Indexedpolygons();

  const kavrel::Object *object = host_.scene().objects.find("Wires");
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(object->mesh.face_sizes, (std::vector<int32_t>{2, 2, 1}));
  EXPECT_EQ(object->mesh.color_index, object->mesh.position_index);
  EXPECT_TRUE(object->mesh.normals.empty());
  EXPECT_EQ(object->bbox_min, (kavrel::Vec3{0, 0, -5}));
  EXPECT_EQ(object->bbox_max, (kavrel::Vec3{5, 5, 0}));
  EXPECT_TRUE(errors_.empty());
}
