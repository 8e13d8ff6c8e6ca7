// Colours as Coin3D holds them: packed colours, vertex colours from the
// diffuse or the emissive list, and Coin3D's default material.
#include <gtest/gtest.h>

#include "tests/materials/scenario_support.h"

TEST(MaterialColors, PackedColourAndDefaultMaterial) {
  plugin_test::Conversion run;
  run.ConvertText("#Inventor V2.1 ascii\nSeparator { PackedColor { orderedRGBA 0xff000080 } Cube {} }");
  auto calls = material_test::CallsFor("Kv_Surface");
  ASSERT_EQ(calls.size(), 6u);
  EXPECT_EQ(plugin_test::FloatsAfter(*calls[1], "rgb"), (std::vector<float>{1, 0, 0}));
  EXPECT_EQ(plugin_test::FloatsAfter(*calls[5], "facecoeff"), std::vector<float>{static_cast<float>(1.0 - 127 / 255.0f)});

  // No material at all: Coin3D's 0.8 grey, one surface shared by both shapes.
  run.ConvertText("#Inventor V2.1 ascii\nSeparator { Cube {} Sphere {} }");
  EXPECT_EQ(run.scene().instances.find("Sphere")->surface, run.scene().instances.find("Cube")->surface);
  calls = material_test::CallsFor("Kv_Surface");
  ASSERT_EQ(calls.size(), 6u);
  EXPECT_EQ(plugin_test::FloatsAfter(*calls[1], "diffuse"), std::vector<float>{0.8f});
}

TEST(MaterialColors, VertexColoursComeFromEmissiveListInVrml1) {
  auto colors_of = [](const std::string &header, const char *material) {
    plugin_test::Conversion run;
    run.ConvertText(header + "\nSeparator { Material { " + material + " } MaterialBinding { value PER_VERTEX }\n"
                    "Coordinate3 { point [0 0 0, 1 0 0, 0 1 0] } IndexedFaceSet { coordIndex [0, 1, 2, -1] } }");
    const kavrel::Mesh &mesh = run.scene().objects.items.at(0).mesh;
    std::vector<float> colors;
    for (int32_t i : mesh.color_index) colors.insert(colors.end(), mesh.colors[i].begin(), mesh.colors[i].end());
    return colors;
  };
  EXPECT_EQ(colors_of("#VRML V1.0 ascii", "ambientColor 0 0 0 diffuseColor 0 0 0 specularColor 0 0 0 "
                                          "emissiveColor [1 0 0, 0 1 0, 0 0 1]"),
            (std::vector<float>{1, 0, 0, 0, 1, 0, 0, 0, 1}));
  EXPECT_EQ(colors_of("#Inventor V2.1 ascii", "diffuseColor [0 0 1, 0 1 0, 1 0 0]"),
            (std::vector<float>{0, 0, 1, 0, 1, 0, 1, 0, 0}));
}
