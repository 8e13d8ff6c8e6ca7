// Light nodes as host lights: names, placement by the model matrix, decay,
// cutoff and switch.
#include <gtest/gtest.h>

#include "tests/materials/scenario_support.h"

using Lines = std::vector<std::string>;

TEST(Lights, DirectionalPointAndSpotLightsArePlacedNamedAndCounted) {
  plugin_test::Conversion run;
  run.ConvertText(R"(#Inventor V2.1 ascii
Separator { Translation { translation 10 0 0 }
  DirectionalLight { direction 0 0 -1 on FALSE }
  DirectionalLight { color 1 0.5 0 intensity 0.25 }
  DEF lamp PointLight { location 1 2 3 }
  SpotLight { location 0 1 0 direction 0 -1 0 cutOffAngle 1.5707964 dropOffRate 0.9 } })",
                  {{"quick_naming", "1"}});
  EXPECT_EQ(material_test::Lines("Kv_Light"),
            (Lines{"Kv_Light(\"DirectionalLight\" color rgb [1 1 1] | model direction | enabled off | intensity [1] | "
                   "shinedir [0 0 1] | .)",
                   "Kv_Light(\"DirectionalLight #2\" color rgb [1 0.5 0] | model direction | enabled on | "
                   "intensity [0.25] | shinedir [0 0 1] | .)",
                   "Kv_Light(\"lamp\" color rgb [1 1 1] | model point | enabled on | intensity [1] | decay <0> | "
                   "distance [100] | shinefrom [11 2 3] | .)",
                   "Kv_Light(\"SpotLight\" model spot | color rgb [1 1 1] | enabled on | intensity [1] | "
                   "shineat [10 -1 0] | shinefrom [10 1 0] | cutoff [45] | decay <0> | delta [0] | distance [100] | .)",
                   "Kv_Light(\"defaultambient\" enabled off .)"}));
  EXPECT_EQ(plugin_test::FloatsAfter(*material_test::CallsFor("Kv_Light").at(3), "cutoff"), std::vector<float>{45.0f});
  EXPECT_NE(run.printed.find("Number of lights created = 4"), std::string::npos);

  run.ConvertText("#Inventor V2.1 ascii\nSeparator { DirectionalLight {} PointLight {} }", {{"import_lights", "2"}});
  EXPECT_EQ(material_test::Lines("Kv_Light").size(), 1u);  // only the default ambient switched off
}

TEST(Lights, DecayFollowsTheEnvironmentsAttenuation) {
  plugin_test::Conversion run;
  const std::pair<const char *, const char *> cases[] = {{"0 0 1", "<0>"}, {"0 0.5 1", "<1>"}, {"0.1 0.5 1", "<2>"}};
  for (const auto &c : cases) {
    run.ConvertText(std::string("#Inventor V2.1 ascii\nSeparator { Environment { attenuation ") + c.first +
                    " } PointLight {} SpotLight {} }");
    const Lines lights = material_test::Lines("Kv_Light");
    ASSERT_EQ(lights.size(), 3u);
    EXPECT_NE(lights[0].find(std::string("decay ") + c.second), std::string::npos) << c.first;
    EXPECT_NE(lights[1].find(std::string("decay ") + c.second), std::string::npos) << c.first;
  }
}
