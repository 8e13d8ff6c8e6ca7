// Colours as Coin3D holds them: packed colours, vertex colours from the
// diffuse or emissive list, and Coin3D's default material.
#include <gtest/gtest.h>

#include "inventor_scenario.h"

using scenario::CallsFor;
using scenario::FloatsAfter;

TEST(MaterialColors, PackedColourGivesItsAlphaAsTransparency) {
  scenario::Scenario run;
  run.ConvertText("#Inventor V2.1 ascii\nSeparator { PackedColor { orderedRGBA 0xff000080 } Cube {} }");
  const auto calls = CallsFor("Kv_Surface", kavrel::scene().instances.find("Cube")->surface);
  ASSERT_EQ(calls.size(), 6u);
  EXPECT_EQ(FloatsAfter(*calls[1], "rgb"), (std::vector<float>{1, 0, 0}));
  EXPECT_EQ(FloatsAfter(*calls[5], "facecoeff"), std::vector<float>{static_cast<float>(1.0 - 127 / 255.0f)});
}

TEST(MaterialColors, VertexColoursComeFromEmissiveListInVrml1) {
  auto colors_of = [](const std::string &header, const char *material) {
    scenario::Scenario run;
    run.ConvertText(header + "\nSeparator { Material { " + material +
                    " } MaterialBinding { value PER_VERTEX }\n"
                    "Coordinate3 { point [0 0 0, 1 0 0, 0 1 0] } IndexedFaceSet { coordIndex [0, 1, 2, -1] } }");
    const kavrel::Object &object = kavrel::scene().objects.items.at(0);
    std::vector<float> colors;
    for (int32_t i : object.mesh.color_index) colors.insert(colors.end(), object.mesh.colors[i].begin(), object.mesh.colors[i].end());
    return colors;
  };
  const char emissive[] = "ambientColor 0 0 0 diffuseColor 0 0 0 specularColor 0 0 0 emissiveColor [1 0 0, 0 1 0, 0 0 1]";
  EXPECT_EQ(colors_of("#VRML V1.0 ascii", emissive), (std::vector<float>{1, 0, 0, 0, 1, 0, 0, 0, 1}));
  EXPECT_EQ(colors_of("#Inventor V2.1 ascii", "diffuseColor [0 0 1, 0 1 0, 1 0 0]"),
            (std::vector<float>{0, 0, 1, 0, 1, 0, 1, 0, 0}));
}

TEST(MaterialColors, FileWithoutMaterialStillGetsOneSharedSurface) {
  scenario::Scenario run;
  run.ConvertText("#Inventor V2.1 ascii\nSeparator { Cube {} Sphere {} }");
  const std::string surface = kavrel::scene().instances.find("Cube")->surface;
  EXPECT_FALSE(surface.empty());
  EXPECT_EQ(kavrel::scene().instances.find("Sphere")->surface, surface);
  const auto calls = CallsFor("Kv_Surface", surface);
  ASSERT_EQ(calls.size(), 6u);
  EXPECT_EQ(FloatsAfter(*calls[1], "rgb"), (std::vector<float>{1, 1, 1}));  // 0.8 grey, normalised
  EXPECT_EQ(FloatsAfter(*calls[1], "diffuse"), std::vector<float>{0.8f});
}
