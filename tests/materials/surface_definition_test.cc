// Surface definition: the host calls a material turns into, through the
// user's shading-coefficient modifiers.
#include <gtest/gtest.h>

#include "inventor_scenario.h"
#include "plugin/import_options.h"

using scenario::CallsFor;
using scenario::FloatsAfter;
using scenario::Words;

namespace {

const char kWorkedExample[] = R"(#Inventor V2.1 ascii
Separator { Material { diffuseColor 0.4 0.2 0 specularColor 0 0 0 emissiveColor 0 0 0
                       shininess 0.2 transparency 0.25 }
            Cube {} })";

}  // namespace

TEST(SurfaceDefinition, WorkedExampleSendsSixCallsWithModifiedCoefficients) {
  scenario::Scenario run;
  ASSERT_EQ(run.ConvertText(kWorkedExample), 0);
  const auto calls = CallsFor("Kv_Surface", "surface");
  ASSERT_EQ(calls.size(), 6u);
  EXPECT_EQ(Words(*calls[0]), "surface specularcolor enabled on | luminouscolor enabled on | ambientcolor enabled on |"
                              " model phong | opacity |");
  EXPECT_EQ(Words(*calls[1]), "surface color rgb | shadingcoeffs diffuse");
  EXPECT_EQ(FloatsAfter(*calls[1], "rgb"), (std::vector<float>{1.0f, 0.5f, 0.0f}));
  EXPECT_EQ(FloatsAfter(*calls[1], "diffuse"), std::vector<float>{0.4f});
  EXPECT_EQ(Words(*calls[2]), "surface specularcolor color rgb | shadingcoeffs specular");
  EXPECT_EQ(FloatsAfter(*calls[2], "rgb"), (std::vector<float>{0, 0, 0}));
  EXPECT_EQ(FloatsAfter(*calls[2], "specular"), std::vector<float>{1.0f});
  EXPECT_EQ(Words(*calls[3]), "surface luminouscolor color rgb | shadingcoeffs luminous");
  EXPECT_EQ(FloatsAfter(*calls[3], "luminous"), std::vector<float>{0.0f});
  EXPECT_EQ(calls[4]->to_string(), "Kv_Surface(\"surface\" model phong shininess <25> .)");
  EXPECT_EQ(FloatsAfter(*calls[5], "facecoeff"), std::vector<float>{0.75f});
  const kavrel::Surface *surface = kavrel::scene().surfaces.find("surface");
  ASSERT_NE(surface, nullptr);
  EXPECT_EQ(surface->phong_shininess, 25);
  EXPECT_FLOAT_EQ(surface->opacity, 0.75f);
  EXPECT_EQ(kavrel::scene().instances.find("Cube")->surface, "surface");
}

TEST(SurfaceDefinition, ModifiersSkipSetClampAndInvert) {
  scenario::Scenario run;
  const char text[] = R"(#Inventor V2.1 ascii
Separator { Material { emissiveColor 0.001 0 0 shininess 1 transparency 0 } Cube {} })";
  run.ConvertText(text, {{"alpha_invert", "1"}}, [] {
    surf_attr_mod_operation[kAttrPhong] = kOpSetValue;
    surf_attr_mod_value[kAttrPhong] = 500;
    surf_attr_mod_operation[kAttrLuminous] = kOpNormalize;
  });
  auto calls = CallsFor("Kv_Surface", "surface");
  ASSERT_EQ(calls.size(), 6u);
  EXPECT_EQ(calls[3]->to_string(), "Kv_Surface(\"surface\" luminouscolor color rgb [0.001 0 0] | "
                                   "shadingcoeffs luminous [0] .)");
  EXPECT_EQ(calls[4]->to_string(), "Kv_Surface(\"surface\" model phong shininess <300> .)");
  EXPECT_EQ(FloatsAfter(*calls[5], "facecoeff"), std::vector<float>{0.0f});  // alpha_invert: opacity = transparency

  run.ConvertText(text, {}, [] {
    surf_attr_mod_operation[kAttrOpacity] = kOpDoNotImport;
    surf_attr_mod_operation[kAttrPhong] = kOpSetDefault;
  });
  calls = CallsFor("Kv_Surface", "surface");
  ASSERT_EQ(calls.size(), 5u);  // no "facecoeff": the host keeps its own opacity
  EXPECT_EQ(calls[4]->to_string(), "Kv_Surface(\"surface\" model phong shininess <32> .)");
}
