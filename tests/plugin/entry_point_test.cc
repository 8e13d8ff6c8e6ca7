// The entry point's command table and header validation.
#include <Inventor/SoDB.h>
#include <Inventor/SoOutput.h>
#include <Inventor/actions/SoWriteAction.h>
#include <Inventor/nodes/SoCube.h>
#include <Inventor/nodes/SoSeparator.h>
#include <gtest/gtest.h>

#include "options/options.h"
#include "plugin/plugin.h"
#include "scene/scene.h"
#include "tests/plugin/conversion_scenario.h"

namespace {

using plugin_test::CallEntryPoint;
using plugin_test::TextValue;

int32_t Validate(const std::string &path) { return CallEntryPoint({"validate_header"}, {TextValue(path)}); }

std::string WriteBinaryInventor(const std::string &path) {
  SoDB::init();
  SoSeparator *root = new SoSeparator;
  root->ref();
  root->addChild(new SoCube);
  SoOutput output;
  output.openFile(path.c_str());
  output.setBinary(TRUE);
  SoWriteAction(&output).apply(root);
  output.closeFile();
  root->unref();
  return path;
}

TEST(HeaderValidation, AnswersFromTheFirstLineAndCoinsHeaderTest) {
  plugin_test::Conversion run;
  EXPECT_EQ(Validate(run.Write("a.wrl", "#VRML V2.0 utf8\nShape {}\n")), -2);
  EXPECT_EQ(Validate(run.Write("b.wrl", "#VRML V1.0 ascii\nSeparator { Cube {} }\n")), 1);
  EXPECT_EQ(Validate(run.Write("c.iv", "#Inventor V2.1 ascii\nSeparator { Cube {} }\n")), 1);
  EXPECT_EQ(Validate(WriteBinaryInventor(run.dir() + "d.iv")), 1);
  EXPECT_EQ(Validate(run.Write("e.iv", "#Inventor")), -2);
  EXPECT_EQ(Validate(run.Write("f.txt", "plain words, no scene at all\n")), -2);
  EXPECT_EQ(Validate(run.dir() + "missing.iv"), -1);
  // The owner window is recorded on the way, the answer is the last command's.
  EXPECT_EQ(CallEntryPoint({"parent_hWnd", "validate_header"}, {0x5150, TextValue(run.dir() + "missing.iv")}), -1);
  EXPECT_EQ(plugin.parent_window, reinterpret_cast<HWND>(0x5150));
  // The run-time token gives the same answer without converting.
  EXPECT_EQ(CallEntryPoint({"execute_geometry_converter", "validate_header_2"}, {0, TextValue(run.dir() + "a.wrl")}),
            -2);
  EXPECT_TRUE(kavrel::CurrentHost().journal().calls("Kv_Object_Define").empty());
  FreeInventorState();
}

TEST(EntryPoint, TokenListEndsAtNullOrEmptyToken) {
  int32_t result = 5;
  Kavrel_Plugin_EntryPoint(nullptr, nullptr, &result, 0);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(CallEntryPoint({"", "validate_header"}, {0, TextValue("/nonexistent/x.iv")}), 0);
  EXPECT_EQ(CallEntryPoint({"no_such_command", "parent_hInstance"}, {0, 0}), 0);
  EXPECT_EQ(CallEntryPoint({"show_about_dialog"}, {0}), 0);
}

TEST(EntryPoint, InitializeMakesDefaultsThatLifecycleCommandsKeep) {
  plugin_test::Conversion run;
  CallEntryPoint({"initialize"}, {TextValue(run.dir())});
  ASSERT_NE(plugin.state, nullptr);
  EXPECT_STREQ(plugin.plugin_directory, run.dir().c_str());
  EXPECT_EQ(plugin.state->options.options_defaults_set, 1);
  EXPECT_EQ(surf_attr_mod_operation[kAttrDiffuse], kOpNormalize);
  InventorState *made = plugin.state;
  CallEntryPoint({"new_instance", "destroy_instance", "shutdown"}, {0, 0, 0});
  EXPECT_EQ(plugin.state, made);
  // Applying the defaults again keeps what is set while the flag stays.
  plugin.state->options.flip_y_up = 1;
  SetDefaultOptions_Inventor();
  EXPECT_EQ(plugin.state->options.flip_y_up, 1);
  // Tokens after "execute_geometry_converter" are the run's, not commands.
  const std::string path = run.Write("one.iv", "#Inventor V2.1 ascii\nSeparator { Cube {} }\n");
  EXPECT_EQ(CallEntryPoint({"execute_geometry_converter", "initialize", "filename"},
                           {0, TextValue(run.dir()), TextValue(path)}),
            0);
  EXPECT_EQ(plugin_test::CallLines("Kv_Report_Error"),
            std::vector<std::string>{
                "Kv_Report_Error(<4> \"ERR_GEOM_IMPORT_BAD_TOKEN\" \"ImportConverter_Inventor()\" \"initialize\")"});
  EXPECT_EQ(plugin.state, nullptr);
}

}  // namespace
