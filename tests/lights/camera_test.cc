// Camera nodes as host cameras, the default camera and the headlights.
#include <gtest/gtest.h>

#include <Inventor/SoDB.h>
#include <Inventor/nodes/SoOrthographicCamera.h>

#include "tests/materials/scenario_support.h"

using Floats = std::vector<float>;

// A class derived from the orthographic camera, which the importer takes as perspective.
class DerivedOrthoCamera : public SoOrthographicCamera {
  SO_NODE_HEADER(DerivedOrthoCamera);

 public:
  static void initClass() { SO_NODE_INIT_CLASS(DerivedOrthoCamera, SoOrthographicCamera, "OrthographicCamera"); }
  DerivedOrthoCamera() { SO_NODE_CONSTRUCTOR(DerivedOrthoCamera); }
};
SO_NODE_SOURCE(DerivedOrthoCamera);

namespace {

Floats CameraValue(const std::string &camera, const char *word) {
  const auto calls = material_test::CallsFor("Kv_Camera", camera);
  return calls.size() == 1 ? plugin_test::FloatsAfter(*calls[0], word) : Floats{};
}

}  // namespace

TEST(Cameras, WindowsViewsAndDefaultCamera) {
  plugin_test::Conversion run;
  run.ConvertText(R"(#Inventor V2.1 ascii
Separator {
  DEF wide PerspectiveCamera { position 0 0 5 heightAngle 0.785398163 focalDistance 5 aspectRatio 1.5 }
  DEF square PerspectiveCamera { heightAngle 0.785398163 focalDistance 5 aspectRatio 1 }
  DEF flat OrthographicCamera { height 2 aspectRatio 1.5 } })");
  EXPECT_EQ(material_test::Lines("Kv_Camera", "wide"),
            std::vector<std::string>{"Kv_Camera(\"wide\" active | formmappingtype type4 | focallength [5] | "
                                     "twist [0] | window [4.14214 2.76142] | lookfrom [0 0 5] | lookat [0 0 -5] | "
                                     "lookup [0 1 0] | projection perspective | .)"});
  EXPECT_EQ(CameraValue("wide", "window"), (Floats{4.1421356f, 2.7614238f}));
  EXPECT_EQ(CameraValue("square", "window"), (Floats{4.1421356f, 4.1421356f}));
  EXPECT_EQ(CameraValue("flat", "window"), (Floats{3, 2}));
  EXPECT_NE(material_test::Lines("Kv_Camera", "flat").at(0).find("projection orthographic"), std::string::npos);
  EXPECT_EQ(material_test::Lines("Kv_Camera", "default"),
            std::vector<std::string>{"Kv_Camera(\"default\" lookfrom [0 0 10] | lookat [0 0 0] | focallength [5] | "
                                     "window [4.14213 4.14213] | .)"});
  EXPECT_EQ(CameraValue("default", "window"), (Floats{4.1421347f, 4.1421347f}));
  EXPECT_NE(run.printed.find("Number of cameras created = 3"), std::string::npos);
  EXPECT_EQ(material_test::Lines("Kv_Light").size(), 1u);  // no headlights by default
}

TEST(Cameras, HeadlightsForEveryCameraAreMadeSwitchedOff) {
  plugin_test::Conversion run;
  SoDB::init();
  DerivedOrthoCamera::initClass();
  run.ConvertText("#Inventor V2.1 ascii\nSeparator { PerspectiveCamera { position 0 0 5 } "
                  "DerivedOrthoCamera { height 2 } }", {{"add_camera_headlight", "1"}, {"quick_naming", "1"}});
  const auto cameras = material_test::Lines("Kv_Camera");
  ASSERT_EQ(cameras.size(), 3u);
  EXPECT_EQ(cameras[0].rfind("Kv_Camera(\"Perspective\" ", 0), 0u);
  EXPECT_EQ(cameras[1].rfind("Kv_Camera(\"Perspective #2\" ", 0), 0u);  // derived: taken as perspective
  EXPECT_NE(cameras[1].find("projection perspective"), std::string::npos);
  EXPECT_EQ(material_test::Lines("Kv_Light", "Perspective_HeadLight"),
            std::vector<std::string>{"Kv_Light(\"Perspective_HeadLight\" color rgb [1 1 1] | model direction | "
                                     "enabled off | intensity [1] | shinedir [0 0 10] | .)"});
  EXPECT_EQ(material_test::Lines("Kv_Light", "Perspective #2_HeadLight").size(), 1u);
  EXPECT_EQ(material_test::Lines("Kv_Light", "default_HeadLight").size(), 1u);
  EXPECT_NE(run.printed.find("Number of lights created = 3"), std::string::npos);
  EXPECT_NE(run.printed.find("Number of cameras created = 2"), std::string::npos);
}
