// kavrel-convert converting many files at once: directories, worker
// processes that crash or hang, the report, Ctrl-C.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <utility>

#include "convert_process.h"

namespace kavrel_test {
namespace {

const char kCube[] = "#Inventor V2.1 ascii\n\nSeparator { Cube {} }\n";
const char kVrmlCone[] = "#VRML V1.0 ascii\n\nSeparator { Cone {} }\n";

bool Contains(const std::string &text, const std::string &part) { return text.find(part) != std::string::npos; }

// The report's record of one input.
nlohmann::json Record(const nlohmann::json &report, const std::string &input) {
  for (const nlohmann::json &file : report["files"]) {
    if (file["input"] == input) return file;
  }
  return nlohmann::json();
}

TEST(ConvertBatch, ADirectoryTreeConvertsFileByFileWhateverSomeFilesDo) {
  ScratchDirectory scratch;
  const std::pair<const char *, const char *> files[] = {
      {"in/cube.iv", kCube},         {"in/sub/cone.wrl", kVrmlCone},   {"in/sub/deeper/CUBE2.IV", kCube},
      {"in/sub/readme.txt", "text"}, {"in/sub/notes.iv", "no header"}, {"in/same.iv", kCube},
      {"in/same.wrl", kVrmlCone},    {"in/crashes.iv", kCube},         {"in/aborts.iv", kCube},
      {"in/hangs.iv", kCube},
  };
  for (const auto &[name, text] : files) scratch.Write(name, text);
  ASSERT_EQ(symlink("..", (scratch.path() + "/in/sub/up").c_str()), 0);
  ProcessResult batch = RunConvert(scratch, {"--plugin", FAULTY_PLUGIN_PATH, "-j", "3", "--time-limit", "1",
                                             "--output-dir", "out", "--report", "report.json", "in"});
  EXPECT_EQ(batch.status, 1) << batch.err;

  // The tree mirrored, with only whole outputs in it.
  EXPECT_EQ(scratch.List("out"), (std::vector<std::string>{"cube.glb", "same.glb", "sub"}));
  EXPECT_EQ(scratch.List("out/sub"), (std::vector<std::string>{"cone.glb", "deeper"}));
  EXPECT_EQ(scratch.List("out/sub/deeper"), std::vector<std::string>{"CUBE2.glb"});
  EXPECT_EQ(ReadFile(scratch.path() + "/out/sub/cone.glb").substr(0, 4), "glTF");

  // One line per file off a terminal, then the summary with each reason.
  EXPECT_TRUE(Contains(batch.err, "converted in/cube.iv -> out/cube.glb (12 triangles")) << batch.err;
  EXPECT_TRUE(Contains(batch.err, "10 files: 4 converted, 5 failed, 1 unsupported")) << batch.err;
  nlohmann::json report = nlohmann::json::parse(ReadFile(scratch.path() + "/report.json"));
  EXPECT_EQ(report["files"].size(), 10u);
  EXPECT_EQ(report["converted"], 4);
  const struct {
    const char *input, *status, *reason;
  } expected[] = {
      {"in/crashes.iv", "failed", "crashed (Segmentation fault, signal 11)"},
      {"in/aborts.iv", "failed", "crashed (Aborted, signal 6)"},
      {"in/hangs.iv", "failed", "giving up on 'in/hangs.iv' after 1 s"},
      {"in/same.wrl", "failed", "would write 'out/same.glb' as 'in/same.iv' does"},
      {"in/sub/notes.iv", "unsupported", "not an Open Inventor 2.x or VRML 1.0 file"},
      {"in/sub/up", "failed", "symbolic link back into its own tree"},
      {"in/cube.iv", "converted", ""},
  };
  for (const auto &file : expected) {
    nlohmann::json record = Record(report, file.input);
    ASSERT_TRUE(record.is_object()) << file.input;
    EXPECT_EQ(record["status"], file.status) << file.input;
    EXPECT_TRUE(Contains(record["reason"].get<std::string>(), file.reason)) << record.dump();
    EXPECT_TRUE(Contains(batch.err, std::string(file.status) + " " + file.input)) << batch.err;
  }
  nlohmann::json cube = Record(report, "in/cube.iv");
  EXPECT_EQ(cube["output"], "out/cube.glb");
  EXPECT_EQ(cube["triangles"], 12);
  EXPECT_EQ(cube["statistics"][0], "Inventor2/VRML1 import parsing statistics:");

  // Named files and another format; their default output directory is the current one.
  ProcessResult named = RunConvert(scratch, {"-q", "--format", "gltf", "in/cube.iv", "in/sub/cone.wrl"});
  EXPECT_EQ(named.status, 0) << named.err;
  EXPECT_EQ(ReadFile(scratch.path() + "/cone.gltf").substr(0, 1), "{");
  EXPECT_TRUE(Contains(named.err, "2 files: 2 converted, 0 failed, 0 unsupported")) << named.err;
}

// The exit status is the worst of the files' (1 outranks 3), whichever
// file comes last.
TEST(ConvertBatch, TheExitStatusIsTheWorstFilesNotTheLasts) {
  ScratchDirectory scratch;
  scratch.Write("cycle.iv", "#Inventor V2.1 ascii\nDEF a Separator { Cube {} USE a }\n");
  scratch.Write("notes.iv", "no header");
  scratch.Write("good.iv", kCube);
  EXPECT_EQ(RunConvert(scratch, {"-q", "cycle.iv", "notes.iv", "good.iv"}).status, 1);
  EXPECT_EQ(RunConvert(scratch, {"-q", "notes.iv", "good.iv"}).status, 3);
  EXPECT_EQ(RunConvert(scratch, {"--check", "notes.iv", "good.iv"}).status, 3);
}

TEST(ConvertBatch, UnwritableOutputDirectoryAndDialogsWithoutATerminal) {
  ScratchDirectory scratch;
  scratch.Write("in/cube.iv", kCube);
  ProcessResult unwritable = RunConvert(scratch, {"--output-dir", "/proc/kavrel", "in"});
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_EQ(unwritable.err, "kavrel-convert: cannot write into the output directory '/proc/kavrel'; nothing converted\n");

  for (const char *dialog : {"--options", "--about"}) {
    ProcessResult refused = RunConvert(scratch, {dialog});
    EXPECT_EQ(refused.status, 2) << dialog;
    EXPECT_TRUE(Contains(refused.err, std::string(dialog) + " needs a terminal")) << refused.err;
    EXPECT_TRUE(refused.out.empty()) << "the dialog was drawn: " << refused.out;
  }
}

// Thousands of shapes, so that a conversion is still running when Ctrl-C comes.
std::string ManyShapes(int count) {
  std::string text = "#Inventor V2.1 ascii\n\nSeparator {\n";
  for (int i = 0; i < count; ++i) text += "Separator { Translation { translation " + std::to_string(i) + " 0 0 } Sphere {} }\n";
  return text + "}\n";
}

TEST(ConvertBatch, CtrlCKeepsFinishedOutputsAndLeavesNoPartOfTheOthers) {
  ScratchDirectory scratch;
  scratch.Write("in/a_small.iv", kCube);
  scratch.Write("in/b_many.iv", ManyShapes(20000));
  scratch.Write("in/c_many.iv", ManyShapes(20000));
  ChildProcess child({KAVREL_CONVERT_PATH, "-j", "1", "--output-dir", "out", "in"}, scratch.path(), scratch.path());
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!Contains(child.StandardError(), "converted in/a_small.iv") && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  kill(child.pid(), SIGINT);
  ProcessResult result = child.Wait(60);
  EXPECT_EQ(result.status, 1) << result.err;
  EXPECT_TRUE(Contains(result.err, "interrupted")) << result.err;
  EXPECT_TRUE(Contains(result.err, "failed in/c_many.iv: not converted: the batch was interrupted")) << result.err;
  EXPECT_EQ(scratch.List("out"), std::vector<std::string>{"a_small.glb"});
}

}  // namespace
}  // namespace kavrel_test
