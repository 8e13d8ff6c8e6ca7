// Run-time option tokens, the input file and the guarded run's two ways
// out: a fatal error and the host's abort poll.
#include <gtest/gtest.h>

#include <new>
#include <thread>

#include "host/import_io.h"
#include "plugin/plugin.h"
#include "scene/scene.h"
#include "tests/plugin/conversion_scenario.h"

namespace {

const char kTwoCubes[] = "#Inventor V2.1 ascii\nSeparator { DEF A Cube {} DEF B Cube {} }\n";

using plugin_test::CallLines;

TEST(RunOptions, TokensKeepSixteenBitsExceptNthlod) {
  plugin_test::Conversion run;
  const std::string path = run.Write("scene.iv", kTwoCubes);
  // "validate_header_2" ends the call: the options stay in the state to inspect.
  const int32_t result = run.Convert(path, {{"flip_y_up", "65538"},
                                            {"lod_source", "  65537xyz"},
                                            {"nthlod", "70000"},
                                            {"txtr_ref_dir", "/textures"},
                                            {"txtr_save_dir", "/saved"},
                                            {"txtr_save_dir", ""},
                                            {"", "ignored"},
                                            {"bogus", "1"},
                                            {"validate_header_2", path},
                                            {"print_stats", "0"}});
  EXPECT_EQ(result, 1);
  ASSERT_NE(plugin.state, nullptr);
  EXPECT_EQ(plugin.state->options.flip_y_up, 2);
  EXPECT_EQ(plugin.state->options.lod_source, 1);
  EXPECT_EQ(plugin.state->options.nthlod, 70000);
  EXPECT_STREQ(plugin.state->options.txtr_ref_dir, "/textures");
  EXPECT_EQ(plugin.state->options.txtr_save_dir, nullptr);
  EXPECT_EQ(plugin.state->options.print_stats, 1);
  EXPECT_EQ(CallLines("Kv_Report_Error"),
            (std::vector<std::string>{
                "Kv_Report_Error(<4> \"ERR_GEOM_IMPORT_BAD_TOKEN\" \"ImportConverter_Inventor()\" \"\")",
                "Kv_Report_Error(<4> \"ERR_GEOM_IMPORT_BAD_TOKEN\" \"ImportConverter_Inventor()\" \"bogus\")"}));
  EXPECT_TRUE(kavrel::CurrentHost().journal().calls("Kv_Object_Define").empty());
  FreeInventorState();
}

// Only some options are run-time tokens; the others come from the
// preferences alone, and naming one per run is an unknown token.
TEST(RunOptions, APreferenceThatIsNoTokenIsRefused) {
  plugin_test::Conversion run;
  const std::string path = run.Write("scene.iv", kTwoCubes);
  EXPECT_EQ(run.Convert(path, {{"forceWeldVertices", "0"}, {"validate_header_2", path}}), 1);
  EXPECT_EQ(CallLines("Kv_Report_Error"),
            std::vector<std::string>{"Kv_Report_Error(<4> \"ERR_GEOM_IMPORT_BAD_TOKEN\" \"ImportConverter_Inventor()\" "
                                     "\"forceWeldVertices\")"});
  ASSERT_NE(plugin.state, nullptr);
  EXPECT_EQ(plugin.state->options.forceWeldVertices, 1);
  FreeInventorState();
}

TEST(RunOptions, LastFilenameWinsAndAMissingFileFails) {
  plugin_test::Conversion run;
  const std::string first = run.Write("first.iv", "#Inventor V2.1 ascii\nSeparator { DEF First Cube {} }\n");
  const std::string second = run.Write("second.iv", "#Inventor V2.1 ascii\nSeparator { DEF Second Cube {} }\n");
  EXPECT_EQ(run.Convert(first, {{"filename", second}}), 0);
  EXPECT_EQ(kavrel::CurrentHost().scene().objects.find("First"), nullptr);
  EXPECT_NE(kavrel::CurrentHost().scene().objects.find("Second"), nullptr);
  EXPECT_EQ(plugin.state, nullptr);

  EXPECT_EQ(run.Convert(run.dir() + "missing.iv"), 1);
  EXPECT_EQ(CallLines("Kv_Report_Error"),
            std::vector<std::string>{"Kv_Report_Error(<4> \"ERR_FILE_OPEN_READ\" \"ImportConverter_Inventor()\" "
                                     "\"Inventor\" \"" +
                                     run.dir() + "missing.iv\")"});
  EXPECT_TRUE(kavrel::CurrentHost().journal().calls("Import_IO_Initialize").empty());
  FreeInventorState();
}

// A fatal report from inside the traversal: the host's progress line of the
// first shape raises one.
TEST(GuardedRun, LevelFiveErrorAbortsAndTheStateSurvives) {
  plugin_test::Conversion run;
  run.on_progress = [](const std::string &line) {
    if (line.rfind("Processing", 0) == 0) Import_IO_Report_Error(5, "Disk on fire");
  };
  EXPECT_EQ(run.ConvertText(kTwoCubes), 1);
  EXPECT_NE(run.printed.find("Disk on fire\n"), std::string::npos);
  ASSERT_NE(plugin.state, nullptr);
  EXPECT_EQ(plugin.state->instance_list, nullptr);
  EXPECT_EQ(plugin.state->parent_stack.getLength(), 0);
  EXPECT_TRUE(kavrel::CurrentHost().journal().calls("Kv_Object_Define").empty());

  run.on_progress = nullptr;
  EXPECT_EQ(run.ConvertText(kTwoCubes, {{"quick_naming", "1"}}), 0);
  EXPECT_EQ(kavrel::CurrentHost().journal().calls("Kv_Object_Define").size(), 2u);
  EXPECT_EQ(plugin.state, nullptr);
}

// An exception from inside the traversal (Coin3D's own allocation on a
// damaged file, the host running out of memory) ends the run, not the process.
TEST(GuardedRun, ExceptionThroughTheTraversalEndsTheRunOnly) {
  plugin_test::Conversion run;
  run.on_progress = [](const std::string &line) {
    if (line.rfind("Processing", 0) == 0) throw std::bad_alloc();
  };
  EXPECT_EQ(run.ConvertText(kTwoCubes), 1);
  const std::string stopped = "Conversion stopped: std::bad_alloc (a damaged file can ask for impossibly large arrays).";
  // A fatal error: through the error hook, which prints it, and the abort's clean-up.
  EXPECT_EQ(run.Errors(5), std::vector<std::string>{stopped});
  EXPECT_EQ(run.printed, stopped + "\n");
  EXPECT_EQ(kavrel::CurrentHost().journal().calls("Import_IO_Abort_Cleanup").size(), 1u);
  EXPECT_TRUE(kavrel::CurrentHost().journal().calls("Kv_Object_Define").empty());
  run.on_progress = nullptr;
  EXPECT_EQ(run.ConvertText(kTwoCubes, {{"quick_naming", "1"}}), 0);
  EXPECT_EQ(kavrel::CurrentHost().journal().calls("Kv_Object_Define").size(), 2u);
}

// The conversion runs on a large stack of its own but on the host's thread:
// a host's abort poll, its message boxes and its windows expect their calls
// from the thread that called the entry point.
TEST(GuardedRun, EveryHostCallArrivesOnTheCallingThread) {
  plugin_test::Conversion run;
  EXPECT_EQ(run.ConvertText(kTwoCubes), 0);
  EXPECT_GT(kavrel::CurrentHost().journal().entries().size(), 20u);
  for (const kavrel::JournalEntry &entry : kavrel::CurrentHost().journal().entries())
    EXPECT_EQ(entry.thread, std::this_thread::get_id()) << entry.to_string();
}

// The user asks to stop once the run has started.
TEST(GuardedRun, HostAbortPollSkipsEveryShapeAndTheRunEnds) {
  plugin_test::Conversion run;
  run.on_progress = [](const std::string &line) {
    if (line == "Reading Inventor File") kavrel::CurrentHost().RequestAbort();
  };
  EXPECT_EQ(run.ConvertText("#Inventor V2.1 ascii\nSeparator { Cube {} DEF G Separator { Sphere {} } }\n"), 0);
  EXPECT_TRUE(kavrel::CurrentHost().journal().calls("Kv_Object_Define").empty());
  EXPECT_EQ(kavrel::CurrentHost().journal().calls("Kv_Add_Empty_Node").size(), 1u);
  EXPECT_EQ(kavrel::CurrentHost().journal().calls("Import_IO_Check_For_Abort").size(), 4u);
  EXPECT_EQ(CallLines("Kv_Light").back(), "Kv_Light(\"defaultambient\" enabled off .)");
  EXPECT_EQ(plugin.state, nullptr);
}

}  // namespace
