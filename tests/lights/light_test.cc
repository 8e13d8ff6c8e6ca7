// Light nodes as host lights: names, placement by the model matrix, decay,
// cutoff and switch.
#include <gtest/gtest.h>

#include "inventor_scenario.h"

using scenario::CallsFor;
using scenario::FloatsAfter;
using scenario::Words;

TEST(Lights, DirectionalPointAndSpotLightsArePlacedAndCounted) {
  scenario::Scenario run;
  run.ConvertText(R"(#Inventor V2.1 ascii
Separator { Translation { translation 10 0 0 }
  DirectionalLight { direction 0 0 -1 on FALSE }
  DirectionalLight { color 1 0.5 0 intensity 0.25 }
  DEF lamp PointLight { location 1 2 3 }
  SpotLight { location 0 1 0 direction 0 -1 0 cutOffAngle 1.5707963 dropOffRate 0.9 } })",
                  {{"quick_naming", "1"}});
  auto first = CallsFor("Kv_Light", "DirectionalLight");
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(Words(*first[0]), "DirectionalLight color rgb | model direction | enabled off | intensity | shinedir |");
  EXPECT_EQ(FloatsAfter(*first[0], "shinedir"), (std::vector<float>{0, 0, 1}));  // the translation cancels
  const auto lights = kavrel::journal().calls("Kv_Light");
  ASSERT_EQ(lights.size(), 5u);  // four from the file, then the host's default ambient switched off
  EXPECT_EQ(lights[1]->to_string().rfind("Kv_Light(\"DirectionalLight #2\" color rgb [1 0.5 0] |", 0), 0u);
  EXPECT_EQ(FloatsAfter(*lights[1], "intensity"), std::vector<float>{0.25f});
  auto point = CallsFor("Kv_Light", "lamp");
  ASSERT_EQ(point.size(), 1u);
  EXPECT_EQ(point[0]->to_string(), "Kv_Light(\"lamp\" color rgb [1 1 1] | model point | enabled on | intensity [1] | "
                                   "decay <0> | distance [100] | shinefrom [11 2 3] | .)");
  EXPECT_EQ(lights[3]->to_string(), "Kv_Light(\"SpotLight\" model spot | color rgb [1 1 1] | enabled on | "
                                    "intensity [1] | shineat [10 -1 0] | shinefrom [10 1 0] | cutoff [45] | "
                                    "decay <0> | delta [0] | distance [100] | .)");
  EXPECT_NE(run.printed.find("Number of lights created = 4"), std::string::npos);

  run.ConvertText("#Inventor V2.1 ascii\nSeparator { DirectionalLight {} PointLight {} }", {{"import_lights", "2"}});
  EXPECT_EQ(kavrel::journal().calls("Kv_Light").size(), 1u);
}

TEST(Lights, DecayFollowsTheEnvironmentsAttenuation) {
  scenario::Scenario run;
  const std::pair<const char *, const char *> cases[] = {{"0 0 1", "<0>"}, {"0 0.5 1", "<1>"}, {"0.1 0.5 1", "<2>"}};
  for (const auto &c : cases) {
    run.ConvertText(std::string("#Inventor V2.1 ascii\nSeparator { Environment { attenuation ") + c.first +
                    " } PointLight {} SpotLight {} }");
    for (const char *light : {"PointLight", "SpotLight"}) {
      const auto calls = CallsFor("Kv_Light", light);
      ASSERT_EQ(calls.size(), 1u);
      EXPECT_NE(calls[0]->to_string().find(std::string("decay ") + c.second), std::string::npos) << c.first;
    }
  }
}
