// The driver's reading, callback registration and finishing steps.
#include <gtest/gtest.h>

#include "host/import_io.h"
#include "host/kv_call.hpp"
#include "host/kv_toolkit.h"
#include "plugin/plugin.h"
#include "tests/plugin/conversion_scenario.h"

namespace {

using plugin_test::CallLines;

const char kLitCube[] =
    "#Inventor V2.1 ascii\nSeparator { PointLight { location 0 0 5 } PerspectiveCamera { position 0 0 9 } "
    "Cube {} }\n";

size_t Calls(const char *call) { return kavrel::CurrentHost().journal().calls(call).size(); }

TEST(ConversionDriver, UnreadableOrEmptyFilesStillEndWithZero) {
  plugin_test::Conversion run;
  EXPECT_EQ(run.ConvertText("#Inventor V2.1 ascii\nSeparator { }\n"), 0);
  EXPECT_EQ(run.Errors(1), std::vector<std::string>{"No children nodes found in root level."});
  EXPECT_EQ(Calls("Kv_Light"), 0u);
  EXPECT_EQ(kavrel::CurrentHost().scene().instances.items.size(), 1u);  // "world" only

  EXPECT_EQ(run.ConvertText("#VRML V2.0 utf8\nShape { geometry Box { size } \n"), 0);
  EXPECT_NE(run.printed.find("is in VRML2.0 format, not VRML 1.0 or Inventor2.x format. Please use the VRML2.0 "
                             "importer instead. Aborting import.\n\n"),
            std::string::npos);
  EXPECT_EQ(run.ConvertText("#Inventor V2.1 ascii\nSeparator { Cube { width } \n"), 0);
  EXPECT_EQ(plugin.state, nullptr);
}

TEST(ConversionDriver, LightAndCameraCallbacksOnlyWhenTheOptionIsOne) {
  plugin_test::Conversion run;
  run.ConvertText(kLitCube, {{"import_lights", "2"}, {"import_cameras", "2"}});
  const size_t lights_off = Calls("Kv_Light"), cameras_off = Calls("Kv_Camera");
  EXPECT_EQ(lights_off, 1u);  // the default ambient light only
  run.ConvertText(kLitCube, {{"import_lights", "1"}, {"import_cameras", "1"}});
  EXPECT_GT(Calls("Kv_Light"), lights_off);
  EXPECT_GT(Calls("Kv_Camera"), cameras_off);
}

TEST(ConversionDriver, FinishTurnsYUpAndPrintsStatistics) {
  plugin_test::Conversion run;
  run.ConvertText("#Inventor V2.1 ascii\nSeparator { Cube {} Cube {} }\n", {{"flip_y_up", "1"}});
  const std::string root = plugin.root_instance_name;
  const std::vector<std::string> lines = CallLines("Kv_Transform");
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(),
            "Kv_Transform(instance \"" + root + "\" premultiply matrix [1 0 0 0 0 0 -1 0 0 1 0 0 0 0 0 1] .)");
  EXPECT_EQ(run.printed.find("Inventor2/VRML1 import parsing statistics:\n"
                             "\tNumber of polygons output = 24\n"
                             "\tNumber of objects created = 2\n"
                             "\tNumber of cameras created = "),
            0u)
      << run.printed;
  EXPECT_NE(run.printed.find("\tNumber of surfaces created = 1\n"), std::string::npos);

  run.printed.clear();
  run.ConvertText("#Inventor V2.1 ascii\nSeparator { Cube {} }\n", {{"flip_y_up", "65538"}, {"print_stats", "0"}});
  EXPECT_EQ(run.printed, "");
  EXPECT_EQ(CallLines("Kv_Transform").size(), 1u);  // the cube's own
}

TEST(ConversionDriver, OptimisersRunWithTheRootCheck) {
  plugin_test::Conversion run;
  const char *text = "#Inventor V2.1 ascii\nSeparator { Separator { Cube {} } Separator { Cone {} } }\n";
  run.ConvertText(text, {}, [] { plugin.state->options.optimize_number_of_objects = 1; });
  EXPECT_EQ(Calls("Kv_OptimizeHierarchy"), 1u);
  EXPECT_EQ(Calls("Kv_OptimizeHierarchy2"), 1u);
  EXPECT_EQ(Calls("Kv_Handle_Name_Exists"), 3u);
  EXPECT_EQ(Calls("Kv_Inquire_Instance"), 1u);

  run.ConvertText(text, {}, [] { plugin.state->options.optimize_hierarchy1 = plugin.state->options.optimize_hierarchy2 = 0; });
  EXPECT_EQ(Calls("Kv_OptimizeHierarchy") + Calls("Kv_OptimizeHierarchy2") + Calls("Kv_Handle_Name_Exists"), 0u);
}

// An optimiser that merges the import's root away: the import then hangs from "world".
TEST(ConversionDriver, RootCheckFallsBackToWorld) {
  plugin_test::Conversion run;
  run.on_progress = [](const std::string &line) {
    if (line != "Optimizing hierarchy (may be slow).") return;
    kv::kv_list(Kv_Remove, Kv_Inquire_Token("instance"), Import_IO_Get_Root_Imported_Instance_Name());
  };
  run.ConvertText("#Inventor V2.1 ascii\nSeparator { Cube {} }\n");
  EXPECT_STREQ(plugin.root_instance_name, "world");
  EXPECT_STREQ(Import_IO_Get_Root_Imported_Instance_Name(), "world");
}

}  // namespace
