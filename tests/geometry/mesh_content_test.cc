// What the collected triangles hold once they are in the host: positions in
// the shape's own coordinates, texture coordinates through the texture
// matrix, vertex colours by the shape's colour classification.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "plugin/plugin.h"
#include "tests/plugin/conversion_scenario.h"

namespace {

const plugin_test::Tokens kQuick = {{"quick_naming", "1"}, {"print_stats", "0"}};

const kavrel::Mesh &MeshOf(const std::string &object) {
  const kavrel::Object *found = kavrel::CurrentHost().scene().objects.find(object);
  static const kavrel::Mesh empty;
  EXPECT_NE(found, nullptr) << object;
  return found ? found->mesh : empty;
}

bool HasColor(const kavrel::Mesh &mesh, kavrel::Vec3 color) {
  return std::find(mesh.colors.begin(), mesh.colors.end(), color) != mesh.colors.end();
}

TEST(MeshContent, PositionsStayInShapeCoordinatesAndUvFollowTheTextureMatrix) {
  plugin_test::Conversion run;
  run.ConvertText(
      "#Inventor V2.1 ascii\nSeparator { Separator { Transform { translation 5 5 5 scaleFactor 2 2 2 } "
      "Texture2Transform { translation 0.5 0 } DEF Box Cube {} } DEF Plain Cube {} }\n",
      kQuick);
  const kavrel::Mesh &mesh = MeshOf("Box");
  ASSERT_EQ(mesh.face_sizes.size(), 12u);
  for (const kavrel::Vec3 &p : mesh.positions) {
    EXPECT_EQ(std::max({std::abs(p[0]), std::abs(p[1]), std::abs(p[2])}), 1.0f);
  }
  ASSERT_FALSE(mesh.texcoords.empty());
  for (const kavrel::Vec3 &uv : mesh.texcoords) {
    EXPECT_TRUE(uv[0] == 0.5f || uv[0] == 1.5f) << uv[0];
    EXPECT_EQ(uv[2], 0.0f);
  }
  EXPECT_TRUE(mesh.colors.empty());
  // The next shape, outside the Texture2Transform, has its own matrix.
  for (const kavrel::Vec3 &uv : MeshOf("Plain").texcoords) EXPECT_TRUE(uv[0] == 0.0f || uv[0] == 1.0f) << uv[0];
}

TEST(MeshContent, PerVertexColoursTravelInTheVertices) {
  plugin_test::Conversion run;
  run.ConvertText(
      "#Inventor V2.1 ascii\nSeparator { MaterialBinding { value PER_VERTEX_INDEXED }\n"
      "  Material { diffuseColor [ 1 0 0, 0 1 0, 0 0 1 ] }\n"
      "  Coordinate3 { point [ 0 0 0, 1 0 0, 0 1 0 ] }\n"
      "  DEF Tri IndexedFaceSet { coordIndex [ 0, 1, 2, -1 ] materialIndex [ 2, 1, 0, -1 ] }\n"
      "  DEF Ball Sphere {} }\n",
      kQuick);
  const kavrel::Mesh &tri = MeshOf("Tri");
  EXPECT_TRUE(HasColor(tri, {1, 0, 0}) && HasColor(tri, {0, 1, 0}) && HasColor(tri, {0, 0, 1}));
  // Not a vertex shape: no vertex colours, the default material.
  EXPECT_TRUE(MeshOf("Ball").colors.empty());
}

// Coin3D's tessellation stops at an empty face (buildings/Barcelona.iv has
// one after 859 of its 2,671 quads); every face is carried, and colour
// indices past the colours take the first colour, once reported.
TEST(MeshContent, EmptyFacesEndNothingAndColoursPastTheEndTakeTheFirst) {
  plugin_test::Conversion run;
  EXPECT_EQ(run.ConvertText("#Inventor V2.1 ascii\nSeparator { DEF Quads IndexedFaceSet {\n"
                            "  vertexProperty VertexProperty {\n"
                            "    vertex [ 0 0 0, 1 0 0, 1 1 0, 0 1 0, 2 0 0, 3 0 0, 3 1 0, 2 1 0 ]\n"
                            "    orderedRGBA [ 0xff0000ff, 0x00ff00ff, 0x0000ffff, 0xffffffff, 0x00ffffff ]\n"
                            "    materialBinding PER_VERTEX_INDEXED }\n"
                            "  coordIndex [ 0, 1, 2, 3, -1, -1, 4, 5, 6, 7, -1 ] } }\n",
                            kQuick),
            0);
  const kavrel::Mesh &quads = MeshOf("Quads");
  int triangles = 0;
  for (int size : quads.face_sizes) triangles += size - 2;
  EXPECT_EQ(triangles, 4);
  EXPECT_TRUE(HasColor(quads, {0, 1, 1}));  // index 4, the last there is
  EXPECT_TRUE(HasColor(quads, {1, 0, 0}));  // and for 5 to 7 the first
  EXPECT_EQ(run.Errors(1), (std::vector<std::string>{
                               "Warning: IndexedFaceSet 'Quads' has empty faces (a -1 after a -1), which would end "
                               "its tessellation; they are left out and every face after them is imported.",
                               "Warning: object 'Quads' has colour indices outside its 5 colours; those vertices take "
                               "the first colour."}));
}

TEST(MeshContent, Vrml1EmissiveColoursBecomeVertexColours) {
  plugin_test::Conversion run;
  run.Convert(run.Write("floor.wrl",
                        "#VRML V1.0 ascii\nSeparator {\n"
                        "  Material { ambientColor 0 0 0 diffuseColor 0 0 0 specularColor 0 0 0\n"
                        "             emissiveColor [ 0.25 0.5 0.75, 1 1 0 ] }\n"
                        "  MaterialBinding { value PER_VERTEX_INDEXED }\n"
                        "  Coordinate3 { point [ 0 0 0, 1 0 0, 0 1 0 ] }\n"
                        "  DEF Floor IndexedFaceSet { coordIndex [ 0, 1, 2, -1 ] materialIndex [ 0, 1, 1, -1 ] }\n"
                        "}\n"),
              kQuick);
  const kavrel::Mesh &floor = MeshOf("Floor");
  EXPECT_TRUE(HasColor(floor, {0.25f, 0.5f, 0.75f}) && HasColor(floor, {1, 1, 0}));
}

TEST(MeshContent, ClockwiseHintsReachTheBufferAndMaterialsCanBeOff) {
  plugin_test::Conversion run;
  run.ConvertText(
      "#Inventor V2.1 ascii\nSeparator { ShapeHints { vertexOrdering CLOCKWISE }\n"
      "  Coordinate3 { point [ 0 0 0, 0 1 0, 1 0 0 ] }\n"
      "  DEF Cw FaceSet { numVertices [ 3 ] } DEF Solid Cube {} }\n",
      {{"quick_naming", "1"}, {"import_materials", "0"}});
  EXPECT_TRUE(MeshOf("Cw").clockwise);
  EXPECT_FALSE(MeshOf("Solid").clockwise);
  EXPECT_TRUE(kavrel::CurrentHost().journal().calls("Kv_Surfacelink").empty());
}

// The sides of a 3D text stand on the letters' outline, at any font size
// (Coin3D's own triangle pass scales sides without a profile twice).
TEST(MeshContent, Text3SidesStandOnTheLetters) {
  plugin_test::Conversion run;
  run.ConvertText(
      "#Inventor V2.1 ascii\nSeparator { DEF Front Text3 { string \"Kv\" parts FRONT }\n"
      "  DEF Solid Text3 { string \"Kv\" parts ALL } Font { size 3 } DEF Small Text3 { string \"Kv\" parts SIDES } }\n",
      kQuick);
  auto extent = [](const kavrel::Mesh &mesh) {
    kavrel::Vec3 low = mesh.positions.at(0), high = low;
    for (const kavrel::Vec3 &p : mesh.positions) {
      for (int i = 0; i < 3; ++i) low[i] = std::min(low[i], p[i]), high[i] = std::max(high[i], p[i]);
    }
    return std::make_pair(low, high);
  };
  const auto [front_low, front_high] = extent(MeshOf("Front"));
  const auto [solid_low, solid_high] = extent(MeshOf("Solid"));
  for (int i = 0; i < 2; ++i) {
    EXPECT_NEAR(solid_low[i], front_low[i], 1e-3f);
    EXPECT_NEAR(solid_high[i], front_high[i], 1e-3f);
  }
  EXPECT_EQ(solid_low[2], -1.0f);
  EXPECT_LT(extent(MeshOf("Small")).second[0], front_high[0] * 0.5f);
}

}  // namespace
