// Shapes whose index fields do not hold what their bindings make Coin3D
// walk: each is reported once at level 1 and skipped, and the run goes on
// to the shapes after it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/plugin/conversion_scenario.h"

namespace {

using plugin_test::DefinedObjects;

const plugin_test::Tokens kQuick = {{"quick_naming", "1"}, {"print_stats", "0"}};
const char kSquare[] = "Coordinate3 { point [ 0 0 0, 1 0 0, 1 1 0, 0 1 0 ] }\n";
const std::string kSkipped = "Shape node with unusable indices (";

// Each shape in a separator of its own, a Cube named Last after them all.
std::string Scene(const std::vector<std::string> &shapes) {
  std::string text = "#Inventor V2.1 ascii\nSeparator {\n" + std::string(kSquare);
  for (const std::string &shape : shapes) text += "Separator { " + shape + " }\n";
  return text + "DEF Last Cube {}\n}\n";
}

std::vector<std::string> Skipped(const std::vector<std::string> &reasons) {
  std::vector<std::string> messages;
  for (const std::string &reason : reasons) messages.push_back(kSkipped + reason + "), skipping.");
  return messages;
}

// A face or part binding reads one material index per face or part and has
// no fallback: Coin3D reads through a missing field and past a short one.
TEST(DamagedShapes, MaterialIndicesOfIndexedBindings) {
  const std::string faces = "coordIndex [ 0, 1, 2, -1, 0, 2, 3, -1 ]";
  const std::string strip = "coordIndex [ 0, 1, 3, 2, -1 ]";
  const std::string per_face = "Material { diffuseColor [ 1 0 0, 0 1 0 ] } MaterialBinding { value PER_FACE_INDEXED } ";
  const std::string per_part = "Material { diffuseColor [ 1 0 0, 0 1 0 ] } MaterialBinding { value PER_PART_INDEXED } ";
  plugin_test::Conversion run;
  EXPECT_EQ(run.ConvertText(Scene({per_face + "IndexedFaceSet { " + faces + " }",
                                   per_face + "IndexedFaceSet { " + faces + " materialIndex [ ] }",
                                   per_part + "IndexedFaceSet { " + faces + " materialIndex [ -1 ] }",
                                   per_face + "IndexedFaceSet { " + faces + " materialIndex [ 0, -2 ] }",
                                   per_face + "IndexedFaceSet { " + faces + " materialIndex [ 1, -1 ] }",
                                   per_face + "IndexedFaceSet { " + faces + " materialIndex [ 1 ] }",
                                   per_part + "IndexedTriangleStripSet { " + strip + " }",
                                   per_face + "IndexedTriangleStripSet { " + strip + " materialIndex [ 0 ] }",
                                   per_face + "DEF Good IndexedTriangleStripSet { " + strip + " materialIndex [ 0, 1 ] }"}),
                            kQuick),
            0);
  EXPECT_EQ(run.Errors(1),
            Skipped({"materialIndex missing", "materialIndex missing", "materialIndex missing", "materialIndex -2",
                     "materialIndex -1", "materialIndex with 1 entries, 2 needed", "materialIndex missing",
                     "materialIndex with 1 entries, 2 needed"}));
  EXPECT_EQ(DefinedObjects(), (std::vector<std::string>{"Good", "Last"}));
}

// The guard measures each index field against what its binding walks, not
// only its largest entry against the values.
TEST(DamagedShapes, IndexFieldsShorterThanTheirBindingsNeed) {
  const std::string normals = "Normal { vector [ 0 0 1, 0 0 1 ] } ";
  const std::string texcoords =
      "TextureCoordinate2 { point [ 0 0, 1 0, 1 1 ] } TextureCoordinateBinding { value PER_VERTEX_INDEXED } ";
  const std::string faces = "coordIndex [ 0, 1, 2, -1, 0, 2, 3, -1 ]";
  plugin_test::Conversion run;
  EXPECT_EQ(run.ConvertText(
                Scene({normals + "NormalBinding { value PER_VERTEX_INDEXED } IndexedFaceSet { " + faces +
                           " normalIndex [ 0, 1, 1 ] }",
                       normals + "NormalBinding { value PER_FACE_INDEXED } IndexedFaceSet { " + faces +
                           " normalIndex [ 1 ] }",
                       normals + "NormalBinding { value PER_FACE_INDEXED } IndexedFaceSet { " + faces +
                           " normalIndex [ 1, -1 ] }",
                       normals + "NormalBinding { value PER_FACE } IndexedFaceSet { coordIndex [ 0, 1, 2, -1, 0, 2, 3, "
                                 "-1, 1, 2, 3 ] }",
                       // A strip set reads one normal per triangle.
                       normals + "NormalBinding { value PER_FACE } IndexedTriangleStripSet { coordIndex [ 0, 1, 2, 3, 0, "
                                 "1 ] }",
                       texcoords + "IndexedFaceSet { " + faces + " textureCoordIndex [ 0, 1, 2, -1, 0 ] }",
                       texcoords + "IndexedFaceSet { " + faces + " textureCoordIndex [ 0, 1, 2, -1, 7, 1, 2 ] }",
                       normals + "NormalBinding { value PER_FACE_INDEXED } DEF Good IndexedFaceSet { " + faces +
                           " normalIndex [ 1, 0 ] }"}),
                kQuick),
            0);
  EXPECT_EQ(run.Errors(1), Skipped({"normalIndex with 3 entries, 7 needed", "normalIndex with 1 entries, 2 needed",
                                    "normalIndex -1", "normal 2 beyond 2 normals",
                                    "normal 3 beyond 2 normals", "textureCoordIndex with 5 entries, 7 needed",
                                    "texture coordinate 7 beyond 3 texture coordinates"}));
  EXPECT_EQ(DefinedObjects(), (std::vector<std::string>{"Good", "Last"}));
}

// A surface our tessellator cannot use is one level-1 report and no
// object; the run goes on.
TEST(DamagedShapes, UnusableNurbsSurfaceIsReportedOnceAndSkipped) {
  plugin_test::Conversion run;
  EXPECT_EQ(run.ConvertText(Scene({"DEF Bad NurbsSurface { numUControlPoints 2 numVControlPoints 2 "
                                   "uKnotVector [ 0, 1 ] vKnotVector [ 0, 0, 1, 1 ] }",
                                   "DEF Lone NurbsSurface { numUControlPoints 1 numVControlPoints 2 "
                                   "uKnotVector [ 0, 1 ] vKnotVector [ 0, 0, 1, 1 ] }"}),
                            kQuick),
            0);
  const std::vector<std::string> errors = run.Errors(1);
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0].rfind("NURBS surface 'Bad' skipped: ", 0), 0u) << errors[0];
  EXPECT_EQ(errors[1], "NURBS surface 'Lone' skipped: numUControlPoints is 1; a surface needs at least 2");
  EXPECT_EQ(DefinedObjects(), std::vector<std::string>{"Last"});
  EXPECT_TRUE(run.Errors(4).empty());
}

}  // namespace
