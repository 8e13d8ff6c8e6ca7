// The bundled examples convert cleanly and together cover every shape class.
#include <gtest/gtest.h>

#include "tests/plugin/conversion_scenario.h"

namespace {

const char kZeroTriangles[] = "Zero triangles found in Shape node. Skipping...";

std::vector<std::string> ConvertExample(plugin_test::Conversion &run, const std::string &name) {
  EXPECT_EQ(run.Convert(std::string(KAVREL_SOURCE_DIR) + "/examples/" + name, {{"quick_naming", "1"}}), 0);
  return plugin_test::DefinedObjects();
}

TEST(Examples, ShowcaseHoldsEveryMeshClassGroupSwitchLodAndArray) {
  plugin_test::Conversion run;
  EXPECT_EQ(ConvertExample(run, "showcase.iv"),
            (std::vector<std::string>{"Cube", "Cone", "Cylinder", "Sphere", "Pyramid", "IndexedTriangleStripSet",
                                      "FaceSet", "Blanket", "TriangleStripSet", "Saddle", "Title", "Chosen", "Fine",
                                      "Cylinder #2", "Cylinder #3", "Cylinder #4", "Cylinder #5", "Cylinder #6"}));
  // The NURBS curve is the one shape without triangles.
  EXPECT_EQ(run.Errors(1), std::vector<std::string>{kZeroTriangles});
  EXPECT_NE(run.printed.find("Number of objects created = 18\n"), std::string::npos);
}

TEST(Examples, IndexedNurbsAndVrml1) {
  plugin_test::Conversion run;
  EXPECT_EQ(ConvertExample(run, "nurbs_patches.iv"), std::vector<std::string>{"Dome"});
  EXPECT_EQ(run.Errors(1), std::vector<std::string>{kZeroTriangles});
  EXPECT_EQ(ConvertExample(run, "vrml1_house.wrl"),
            (std::vector<std::string>{"Cube", "Cone", "Cube #2", "IndexedFaceSet"}));
  EXPECT_TRUE(run.errors.empty());
  EXPECT_EQ(kavrel::CurrentHost().scene().objects.find("IndexedFaceSet")->mesh.colors.size(), 4u);
}

}  // namespace
