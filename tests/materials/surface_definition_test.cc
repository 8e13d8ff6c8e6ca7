// Surface definition: the host calls a material becomes, through the
// user's shading-coefficient modifiers.
#include <gtest/gtest.h>

#include "state/import_options.h"
#include "tests/materials/scenario_support.h"

using Lines = std::vector<std::string>;

TEST(SurfaceDefinition, WorkedExampleSendsSixCallsWithModifiedCoefficients) {
  plugin_test::Conversion run;
  ASSERT_EQ(run.ConvertText(R"(#Inventor V2.1 ascii
Separator { Material { diffuseColor 0.4 0.2 0 specularColor 0 0 0 emissiveColor 0 0 0 shininess 0.2
                       transparency 0.25 } Cube {} })"), 0);
  EXPECT_EQ(material_test::Lines("Kv_Surface", "surface"),
            (Lines{"Kv_Surface(\"surface\" specularcolor enabled on | luminouscolor enabled on | "
                   "ambientcolor enabled on | model phong | opacity | .)",
                   "Kv_Surface(\"surface\" color rgb [1 0.5 0] | shadingcoeffs diffuse [0.4] .)",
                   "Kv_Surface(\"surface\" specularcolor color rgb [0 0 0] | shadingcoeffs specular [1] .)",
                   "Kv_Surface(\"surface\" luminouscolor color rgb [0 0 0] | shadingcoeffs luminous [0] .)",
                   "Kv_Surface(\"surface\" model phong shininess <25> .)",
                   "Kv_Surface(\"surface\" opacity facecoeff [0.75] .)"}));
  EXPECT_EQ(material_test::Lines("Kv_Surfacelink"), Lines{"Kv_Surfacelink(surface \"surface\" instance \"Cube\" .)"});
  EXPECT_EQ(plugin_test::FloatsAfter(*material_test::CallsFor("Kv_Surface").at(5), "facecoeff"), std::vector<float>{0.75f});
}

TEST(SurfaceDefinition, ModifiersSkipSetClampAndInvert) {
  plugin_test::Conversion run;
  const char text[] = "#Inventor V2.1 ascii\nSeparator { Material { emissiveColor 0.001 0 0 shininess 1 } Cube {} }";
  run.ConvertText(text, {{"alpha_invert", "1"}}, [] {
    surf_attr_mod_operation[kAttrPhong] = kOpSetValue;
    surf_attr_mod_value[kAttrPhong] = 500;
    surf_attr_mod_operation[kAttrLuminous] = kOpNormalize;
  });
  Lines lines = material_test::Lines("Kv_Surface", "surface");
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[3], "Kv_Surface(\"surface\" luminouscolor color rgb [0.001 0 0] | shadingcoeffs luminous [0] .)");
  EXPECT_EQ(lines[4], "Kv_Surface(\"surface\" model phong shininess <300> .)");
  EXPECT_EQ(lines[5], "Kv_Surface(\"surface\" opacity facecoeff [0] .)");  // inverted: opacity = transparency

  run.ConvertText(text, {}, [] {
    surf_attr_mod_operation[kAttrOpacity] = kOpDoNotImport;  // the host keeps its own opacity
    surf_attr_mod_operation[kAttrPhong] = kOpSetDefault;
  });
  lines = material_test::Lines("Kv_Surface", "surface");
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[4], "Kv_Surface(\"surface\" model phong shininess <32> .)");
}

// Our host's tokens: exact_shininess sends the untruncated exponent after
// the integer exponent (after the user's modifier), import_ambient_color
// the ambient colour as it is, after the luminous colour.
TEST(SurfaceDefinition, OurHostsTokensAddTheExactExponentAndTheAmbientColor) {
  plugin_test::Conversion run;
  const char text[] = "#Inventor V2.1 ascii\nSeparator { Material { ambientColor 0.5 0.25 0 shininess 0.02 } Cube {} }";
  run.ConvertText(text, {{"exact_shininess", "1"}, {"import_ambient_color", "1"}});
  Lines lines = material_test::Lines("Kv_Surface", "surface");
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[4], "Kv_Surface(\"surface\" ambientcolor color rgb [0.5 0.25 0] .)");
  EXPECT_EQ(lines[5], "Kv_Surface(\"surface\" model phong shininess <2> .)");
  EXPECT_EQ(lines[6], "Kv_Surface(\"surface\" model phong exponent [2.56] .)");

  run.ConvertText(text, {{"exact_shininess", "1"}}, [] {
    surf_attr_mod_operation[kAttrPhong] = kOpSetValue;
    surf_attr_mod_value[kAttrPhong] = 500;
  });
  lines = material_test::Lines("Kv_Surface", "surface");
  EXPECT_EQ(lines.at(5), "Kv_Surface(\"surface\" model phong exponent [300] .)");
  run.ConvertText(text);
  EXPECT_EQ(material_test::Lines("Kv_Surface", "surface").size(), 6u);
}
