// Camera nodes as host cameras, the default camera and the headlights.
#include <gtest/gtest.h>

#include <Inventor/SoDB.h>
#include <Inventor/nodes/SoOrthographicCamera.h>

#include "inventor_scenario.h"

using scenario::CallsFor;
using scenario::FloatsAfter;
using scenario::Words;

// A class derived from the orthographic camera, which the importer takes as perspective.
class DerivedOrthoCamera : public SoOrthographicCamera {
  SO_NODE_HEADER(DerivedOrthoCamera);

 public:
  static void initClass() { SO_NODE_INIT_CLASS(DerivedOrthoCamera, SoOrthographicCamera, "OrthographicCamera"); }
  DerivedOrthoCamera() { SO_NODE_CONSTRUCTOR(DerivedOrthoCamera); }
};
SO_NODE_SOURCE(DerivedOrthoCamera);

namespace {

const kavrel::JournalEntry &OnlyCamera(const std::string &name) {
  static const kavrel::JournalEntry none;
  const auto calls = CallsFor("Kv_Camera", name);
  EXPECT_EQ(calls.size(), 1u) << name;
  return calls.empty() ? none : *calls[0];
}

}  // namespace

TEST(Cameras, WindowsViewsAndDefaultCamera) {
  scenario::Scenario run;
  run.ConvertText(R"(#Inventor V2.1 ascii
Separator {
  DEF wide PerspectiveCamera { position 0 0 5 heightAngle 0.785398163 focalDistance 5 aspectRatio 1.5 }
  DEF square PerspectiveCamera { heightAngle 0.785398163 focalDistance 5 aspectRatio 1 }
  DEF flat OrthographicCamera { height 2 aspectRatio 1.5 } })");
  const kavrel::JournalEntry &wide = OnlyCamera("wide");
  EXPECT_EQ(Words(wide), "wide active | formmappingtype type4 | focallength | twist | window | lookfrom | lookat | "
                         "lookup | projection perspective |");
  EXPECT_EQ(FloatsAfter(wide, "window"), (std::vector<float>{4.1421356f, 2.7614238f}));
  EXPECT_EQ(FloatsAfter(wide, "lookfrom"), (std::vector<float>{0, 0, 5}));
  EXPECT_EQ(FloatsAfter(wide, "lookat"), (std::vector<float>{0, 0, -5}));
  EXPECT_EQ(FloatsAfter(wide, "lookup"), (std::vector<float>{0, 1, 0}));
  EXPECT_EQ(FloatsAfter(wide, "focallength"), std::vector<float>{5});
  EXPECT_EQ(FloatsAfter(OnlyCamera("square"), "window"), (std::vector<float>{4.1421356f, 4.1421356f}));
  EXPECT_EQ(FloatsAfter(OnlyCamera("flat"), "window"), (std::vector<float>{3, 2}));
  EXPECT_NE(OnlyCamera("flat").to_string().find("projection orthographic"), std::string::npos);
  const kavrel::JournalEntry &fixed = OnlyCamera("default");
  EXPECT_EQ(Words(fixed), "default lookfrom | lookat | focallength | window |");
  EXPECT_EQ(FloatsAfter(fixed, "lookfrom"), (std::vector<float>{0, 0, 10}));
  EXPECT_EQ(FloatsAfter(fixed, "lookat"), (std::vector<float>{0, 0, 0}));
  EXPECT_EQ(FloatsAfter(fixed, "window"), (std::vector<float>{4.1421347f, 4.1421347f}));
  EXPECT_NE(run.printed.find("Number of cameras created = 3"), std::string::npos);
  EXPECT_TRUE(CallsFor("Kv_Light", "default_HeadLight").empty());
}

TEST(Cameras, HeadlightsForEveryCameraAreMadeSwitchedOff) {
  scenario::Scenario run;
  SoDB::init();
  DerivedOrthoCamera::initClass();
  run.ConvertText("#Inventor V2.1 ascii\nSeparator { PerspectiveCamera { position 0 0 5 } "
                  "DerivedOrthoCamera { height 2 } }", {{"add_camera_headlight", "1"}, {"quick_naming", "1"}});
  EXPECT_NE(OnlyCamera("Perspective").to_string().find("projection perspective"), std::string::npos);
  const auto cameras = kavrel::journal().calls("Kv_Camera");
  ASSERT_EQ(cameras.size(), 3u);
  EXPECT_NE(cameras[1]->to_string().find("projection perspective"), std::string::npos);  // derived: perspective
  const kavrel::JournalEntry &headlight = *CallsFor("Kv_Light", "Perspective_HeadLight").at(0);
  EXPECT_EQ(headlight.to_string(), "Kv_Light(\"Perspective_HeadLight\" color rgb [1 1 1] | model direction | "
                                   "enabled off | intensity [1] | shinedir [0 0 10] | .)");
  EXPECT_EQ(CallsFor("Kv_Light", "default_HeadLight").size(), 1u);
  EXPECT_EQ(kavrel::journal().calls("Kv_Light").size(), 4u);  // three headlights and the default ambient
  EXPECT_NE(run.printed.find("Number of lights created = 3"), std::string::npos);
  EXPECT_NE(run.printed.find("Number of cameras created = 2"), std::string::npos);
}
