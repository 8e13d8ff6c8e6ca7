// Line sets, point sets and shapes drawn as lines or points, carried as
// segments and points when the host sends import_lines_and_points.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kavrel/host.h"
#include "tests/plugin/conversion_scenario.h"

namespace {

using plugin_test::DefinedObjects;

const plugin_test::Tokens kLines = {
    {"quick_naming", "1"}, {"print_stats", "0"}, {"import_lines_and_points", "1"}, {"calc_smoothed_normals", "1"}};

// Face sizes of the object's mesh in the current host.
std::vector<int32_t> FaceSizes(const std::string &object) {
  const kavrel::Scene &scene = kavrel::CurrentHost().scene();
  const int32_t index = scene.objects.find_index(object);
  return index < 0 ? std::vector<int32_t>{} : scene.objects.items[index].mesh.face_sizes;
}

std::string Scene(const std::string &body) {
  return "#Inventor V2.1 ascii\nSeparator {\n  Coordinate3 { point [ 0 0 0, 1 0 0, 1 1 0, 0 1 0 ] }\n" + body + "}\n";
}

TEST(LinesAndPoints, LineAndPointSetsBecomeSegmentsAndPointsNeverSmoothed) {
  plugin_test::Conversion run;
  run.ConvertText(Scene("  LineSet { numVertices [ 3, -1 ] }\n"
                        "  IndexedLineSet { coordIndex [ 0, 2, -1, 1, 3 ] }\n"
                        "  PointSet { numPoints 3 }\n"),
                  kLines);
  EXPECT_EQ(DefinedObjects(), (std::vector<std::string>{"LineSet", "IndexedLineSet", "PointSet"}));
  EXPECT_EQ(FaceSizes("LineSet"), (std::vector<int32_t>{2, 2}));  // 0-1-2, then the one vertex left
  EXPECT_EQ(FaceSizes("IndexedLineSet"), (std::vector<int32_t>{2, 2}));
  EXPECT_EQ(FaceSizes("PointSet"), (std::vector<int32_t>{1, 1, 1}));
  for (const std::string &line : plugin_test::CallLines("Kv_Manipulate_IndexedPolygons"))
    EXPECT_EQ(line.find("calcnormals"), std::string::npos) << line;
  EXPECT_TRUE(run.Errors(1).empty());
}

// Coin3D passes over a polyline of fewer than two vertices, using up its
// vertices but no colour: such a line set converts, as it draws.
TEST(LinesAndPoints, PolylinesOfFewerThanTwoVerticesArePassedOver) {
  plugin_test::Conversion run;
  run.ConvertText("#Inventor V2.1 ascii\nSeparator {\n"
                  "  Coordinate3 { point [ 0 0 0, 1 0 0, 2 0 0, 3 0 0, 4 0 0, 5 0 0 ] }\n"
                  "  Material { diffuseColor [ 1 0 0, 0 0 1 ] }\n  MaterialBinding { value PER_FACE }\n"
                  "  LineSet { numVertices [ 2, 0, 1, 3 ] }\n}\n",
                  kLines);
  EXPECT_TRUE(run.Errors(1).empty());
  const kavrel::Scene &scene = kavrel::CurrentHost().scene();
  const kavrel::Mesh &mesh = scene.objects.items[scene.objects.find_index("LineSet")].mesh;
  ASSERT_EQ(mesh.face_sizes, (std::vector<int32_t>{2, 2, 2}));
  EXPECT_EQ(mesh.positions[mesh.position_index[2]][0], 3);  // the third vertex went to the one-vertex polyline
  EXPECT_NE(mesh.face_surface[0], mesh.face_surface[1]);
  EXPECT_EQ(mesh.face_surface[1], mesh.face_surface[2]);
}

TEST(LinesAndPoints, WithoutTheTokenTheyAreUnsupportedShapes) {
  plugin_test::Conversion run;
  run.ConvertText(Scene("  LineSet { numVertices [ 2 ] }\n  DrawStyle { style LINES }\n  FaceSet { numVertices [ 4 ] }\n"),
                  {{"quick_naming", "1"}, {"print_stats", "0"}});
  EXPECT_EQ(run.Errors(1), std::vector<std::string>{"Unsupported shape node encountered, skipping."});
  EXPECT_EQ(FaceSizes("FaceSet"), (std::vector<int32_t>{3, 3}));
}

// A quad's tessellation diagonal is no edge of it; a shared edge is written
// once; points are the distinct corners.
TEST(LinesAndPoints, DrawStylesShowThePolygonsEdgesOrCorners) {
  plugin_test::Conversion run;
  run.ConvertText(Scene("  DrawStyle { style LINES }\n  FaceSet { numVertices [ 4 ] }\n"
                        "  DEF Pair IndexedFaceSet { coordIndex [ 0, 1, 2, -1, 0, 2, 3 ] }\n"
                        "  DrawStyle { style POINTS }\n  DEF Dots FaceSet { numVertices [ 4 ] }\n"),
                  kLines);
  EXPECT_EQ(FaceSizes("FaceSet"), std::vector<int32_t>(4, 2));
  EXPECT_EQ(FaceSizes("Pair"), std::vector<int32_t>(5, 2));  // two triangles as two faces share their diagonal
  EXPECT_EQ(FaceSizes("Dots"), std::vector<int32_t>(4, 1));
}

// Each segment of an outline keeps the surface of the face it bounds.
TEST(LinesAndPoints, OutlinesKeepTheirFacesSurfaces) {
  plugin_test::Conversion run;
  run.ConvertText("#Inventor V2.1 ascii\nSeparator {\n"
                  "  Coordinate3 { point [ 0 0 0, 1 0 0, 1 1 0, 0 1 0, 5 0 0, 6 0 0, 6 1 0, 5 1 0 ] }\n"
                  "  Material { diffuseColor [ 1 0 0, 0 0 1 ] }\n  MaterialBinding { value PER_FACE }\n"
                  "  DrawStyle { style LINES }\n  FaceSet { numVertices [ 4, 4 ] }\n}\n",
                  kLines);
  const kavrel::Scene &scene = kavrel::CurrentHost().scene();
  const kavrel::Mesh &mesh = scene.objects.items[scene.objects.find_index("FaceSet")].mesh;
  ASSERT_EQ(mesh.face_sizes.size(), 8u);
  ASSERT_EQ(mesh.face_surface.size(), 8u);
  ASSERT_EQ(mesh.surface_names.size(), 2u);
  for (size_t f = 0; f < 8; ++f) {
    const float x = mesh.positions[mesh.position_index[2 * f]][0];
    EXPECT_EQ(mesh.face_surface[f], x < 3 ? 0 : 1) << "segment " << f;
  }
}

TEST(LinesAndPoints, DamagedLineSetsAreSkippedNotFollowed) {
  plugin_test::Conversion run;
  run.ConvertText(Scene("  IndexedLineSet { coordIndex [ 0, 9 ] }\n  LineSet { numVertices [ 1 ] }\n"
                        "  PointSet { numPoints 7 }\n"),
                  kLines);
  EXPECT_EQ(run.Errors(1),
            (std::vector<std::string>{
                "Shape node with unusable indices (coordIndex 9 beyond 4 coordinates), skipping.",
                "Zero line segments or points found in Shape node. Skipping...",  // a one-vertex polyline draws nothing
                "Shape node with unusable indices (vertex 6 beyond 4 coordinates), skipping."}));
  EXPECT_TRUE(DefinedObjects().empty());
}

}  // namespace
