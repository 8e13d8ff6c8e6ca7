// kavrel-convert as users run it: its arguments, its statuses, what it
// writes and what it refuses.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <string>
#include <thread>

#include "convert_process.h"

namespace kavrel_test {
namespace {

const char kTwoShapes[] =
    "#Inventor V2.1 ascii\n\n"
    "Separator {\n"
    "  PointLight { location 0 0 5 }\n"
    "  Material { diffuseColor 1 0 0 }\n"
    "  Cube {}\n"
    "  Translation { translation 3 0 0 }\n"
    "  Cone {}\n"
    "}\n";
const char kVrml1[] = "#VRML V1.0 ascii\n\nSeparator { Cube {} }\n";
const char kVrml2[] = "#VRML V2.0 utf8\n\nShape { geometry Box {} }\n";
const char kStatistics[] = "Inventor2/VRML1 import parsing statistics:";

bool Contains(const std::string &text, const std::string &part) { return text.find(part) != std::string::npos; }

TEST(ConvertCommand, HelpVersionAndUsageErrors) {
  ScratchDirectory scratch;
  std::string input = scratch.Write("a.iv", kTwoShapes);
  ProcessResult help = RunConvert(scratch, {"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(Contains(help.out, "KEY=VALUE")) << help.out;
  ProcessResult version = RunConvert(scratch, {"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_TRUE(Contains(version.out, "kavrel-convert 0.")) << version.out;

  scratch.Write("b/a.iv", kTwoShapes);
  const std::vector<std::vector<std::string>> usage_errors = {
      {"--no-such-flag", input},       {"-o", "x.glb", input, input},
      {"-O", "import_lights", input},  {"-O", "filename=x.iv", input}, {"--check"},
      {"--check", "-o", "x.glb", input}, {"-o", "x.glb", "b"},      {"-j", "0", input},
      {"--format", "txt", input},      {"-q", "-v", input},
  };
  for (const auto &args : usage_errors) {
    ProcessResult result = RunConvert(scratch, args);
    EXPECT_EQ(result.status, 2) << args[0] << " " << args[1] << "\n" << result.err;
    EXPECT_TRUE(Contains(result.err, "--help")) << result.err;
  }
  // An extension no writer knows: a conversion that cannot be done.
  ProcessResult unknown = RunConvert(scratch, {"-o", "x.xyz", input});
  EXPECT_EQ(unknown.status, 1);
  EXPECT_EQ(unknown.err, "kavrel-convert: cannot write 'x.xyz': no writer for its extension; use one of .glb, "
                         ".gltf, .json, .obj, .ply, .stl, .dae, .3mf, .fbx, .x3d, .wrl\n");
  EXPECT_EQ(scratch.List(), (std::vector<std::string>{"a.iv", "b"}));
}

TEST(ConvertCommand, CheckAnswersPerFile) {
  ScratchDirectory scratch;
  scratch.Write("good.iv", kTwoShapes);
  scratch.Write("one.wrl", kVrml1);
  scratch.Write("two.wrl", kVrml2);
  scratch.Write("empty.iv", "");
  scratch.Write("folder/x.iv", kTwoShapes);

  ProcessResult valid = RunConvert(scratch, {"--check", "good.iv", "one.wrl"});
  EXPECT_EQ(valid.status, 0) << valid.err;
  EXPECT_EQ(valid.out, "good.iv: valid\none.wrl: valid\n");
  ProcessResult unsupported = RunConvert(scratch, {"--check", "good.iv", "two.wrl", "empty.iv"});
  EXPECT_EQ(unsupported.status, 3);
  EXPECT_EQ(unsupported.out, "good.iv: valid\ntwo.wrl: unsupported\nempty.iv: unsupported\n");
  ProcessResult unreadable = RunConvert(scratch, {"--check", "two.wrl", "missing.iv", "folder"});
  EXPECT_EQ(unreadable.status, 1);
  EXPECT_EQ(unreadable.out, "two.wrl: unsupported\nmissing.iv: unreadable\nfolder: unreadable\n");
}

TEST(ConvertCommand, WritesEachFormatWithStatistics) {
  ScratchDirectory scratch;
  scratch.Write("models/two shapes.iv", kTwoShapes);
  ProcessResult glb = RunConvert(scratch, {"models/two shapes.iv"});
  ASSERT_EQ(glb.status, 0) << glb.err;
  EXPECT_EQ(ReadFile(scratch.path() + "/two shapes.glb").substr(0, 4), "glTF");
  EXPECT_TRUE(Contains(glb.out, kStatistics)) << glb.out;
  EXPECT_TRUE(Contains(glb.out, "\tNumber of objects created = 2\n")) << glb.out;
  EXPECT_TRUE(Contains(glb.err, "two shapes.glb")) << glb.err;

  ASSERT_EQ(RunConvert(scratch, {"-q", "-o", "out.gltf", "models/two shapes.iv"}).status, 0);
  EXPECT_TRUE(Contains(ReadFile(scratch.path() + "/out.gltf"), "\"asset\""));
  ProcessResult json = RunConvert(scratch, {"-q", "-o", "out.json", "models/two shapes.iv"});
  ASSERT_EQ(json.status, 0) << json.err;
  EXPECT_EQ(json.err, "");
  EXPECT_EQ(ReadFile(scratch.path() + "/out.json").front(), '{');
}

// A texture named relative to its model is found from any current directory.
TEST(ConvertCommand, RelativeTextureFilesAreFoundBesideTheModel) {
  ScratchDirectory scratch;
  const std::string tga("\0\0\2\0\0\0\0\0\0\0\0\0\2\0\2\0\x18\0"
                        "\xff\0\0\0\xff\0\0\0\xff\xff\xff\xff", 30);
  scratch.Write("models/maps/wood.tga", tga);
  scratch.Write("models/textured.iv",
                "#Inventor V2.1 ascii\n\nSeparator { Texture2 { filename \"maps/wood.tga\" } Cube {} }\n");
  ProcessResult run = RunConvert(scratch, {"-q", "-o", "textured.gltf", "models/textured.iv"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_FALSE(Contains(run.err, "not supported or not found")) << run.err;
  const std::string gltf = ReadFile(scratch.path() + "/textured.gltf");
  EXPECT_TRUE(Contains(gltf, "\"baseColorTexture\"")) << gltf.substr(0, 2000);
  EXPECT_TRUE(Contains(gltf, "data:image/png;base64,"));
}

// The same message from many nodes is shown three times, then summed up.
TEST(ConvertCommand, RepeatedMessagesAreSummedUp) {
  ScratchDirectory scratch;
  std::string text = "#Inventor V2.1 ascii\n\nSeparator { Cube {}";
  for (int i = 0; i < 5; ++i) text += " NurbsCurve { numControlPoints 2 knotVector [0 0 1 1] }";
  scratch.Write("curves.iv", text + " }\n");
  ProcessResult run = RunConvert(scratch, {"-q", "curves.iv"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string line = "error (level 1): Zero triangles found in Shape node. Skipping...";
  EXPECT_EQ(run.err, line + "\n" + line + "\n" + line + "\n" + line + " (2 more like it)\n");
}

TEST(ConvertCommand, OptionTokensReachThePlugin) {
  ScratchDirectory scratch;
  scratch.Write("a.iv", kTwoShapes);
  ProcessResult quiet_stats = RunConvert(scratch, {"-q", "-O", "print_stats=0", "-O", "no_such_option=1", "a.iv"});
  EXPECT_EQ(quiet_stats.status, 0) << quiet_stats.err;
  EXPECT_FALSE(Contains(quiet_stats.out, kStatistics)) << quiet_stats.out;
  EXPECT_TRUE(Contains(quiet_stats.err, "no_such_option")) << quiet_stats.err;

  ProcessResult lights = RunConvert(scratch, {"-q", "--trace", "-O", "import_lights=1", "a.iv"});
  ProcessResult no_lights = RunConvert(scratch, {"-q", "--trace", "-O", "import_lights=0", "a.iv"});
  ASSERT_EQ(lights.status, 0);
  ASSERT_EQ(no_lights.status, 0);
  EXPECT_TRUE(Contains(lights.err, "Kv_Light(\"PointLight")) << lights.err;
  EXPECT_FALSE(Contains(no_lights.err, "Kv_Light(\"PointLight")) << no_lights.err;
  EXPECT_TRUE(Contains(no_lights.err, "Kv_Light(\"defaultambient\"")) << no_lights.err;
}

// A binary file whose point count is 0x7f000003: Coin3D's allocation loop
// would double an int past 2^30 and never end.
const std::string kEndlessCount(
      "\x23\x49\x6e\x76\x65\x6e\x74\x6f\x72\x20\x56\x32\x2e\x31\x20\x62\x69\x6e\x61\x72\x79\x20\x20\x0a"
      "\x00\x00\x00\x09\x53\x65\x70\x61\x72\x61\x74\x6f\x72\x00\x00\x00\x00\x00\x00\x02\x00\x00\x00\x00"
      "\x00\x00\x00\x02\x00\x00\x00\x0b\x43\x6f\x6f\x72\x64\x69\x6e\x61\x74\x65\x33\x00\x00\x00\x00\x00"
      "\x00\x00\x00\x01\x00\x00\x00\x05\x70\x6f\x69\x6e\x74\x00\x00\x00\x7f\x00\x00\x03\x3f\xc0\x00\x00"
      "\x40\x20\x00\x00\x40\x60\x00\x00\x40\x80\x00\x00\x40\xa0\x00\x00\x40\xc0\x00\x00\x40\xe0\x00\x00"
      "\x41\x00\x00\x00\x41\x10\x00\x00\x00\x00\x00\x00\x00\x00\x00\x0e\x49\x6e\x64\x65\x78\x65\x64\x46"
      "\x61\x63\x65\x53\x65\x74\x00\x00\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x0a\x63\x6f\x6f\x72"
      "\x64\x49\x6e\x64\x65\x78\x00\x00\x00\x00\x00\x04\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x02"
      "\xff\xff\xff\xff\x00\x00\x00\x00",
    200);

TEST(ConvertCommand, BadInputsAndOutputsWriteNothing) {
  ScratchDirectory scratch;
  scratch.Write("in/endless.iv", kEndlessCount);
  // 0x0b000003 points: below 2^30, but Coin3D's int byte count for that
  // many 12-byte points would wrap and its copy overrun a small block.
  std::string wrapping = kEndlessCount;
  wrapping.replace(wrapping.find(std::string("\x7f\x00\x00\x03", 4)), 4, std::string("\x0b\x00\x00\x03", 4));
  scratch.Write("in/wrapping.iv", wrapping);
  // 0x00400003 points: Coin3D could allocate them (48 MB), but the file
  // holds only a few of them.
  std::string beyond = kEndlessCount;
  beyond.replace(beyond.find(std::string("\x7f\x00\x00\x03", 4)), 4, std::string("\x00\x40\x00\x03", 4));
  scratch.Write("in/beyond.iv", beyond);
  scratch.Write("in/good.iv", kTwoShapes);
  scratch.Write("in/two.wrl", kVrml2);
  scratch.Write("in/empty.iv", "");
  scratch.Write("in/broken.iv", "#Inventor V2.1 ascii\n\nSeparator { Cube { width } \n");
  scratch.Write("out/.keep", "");
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string message;
  };
  const Case cases[] = {
      {{"../in/missing.iv"}, 1, "No such file"},
      {{"../in/empty.iv"}, 3, "is empty"},
      {{"../in/two.wrl"}, 3, "not an Open Inventor 2.x or VRML 1.0 file"},
      {{"../in/broken.iv"}, 1, "nothing could be imported"},
      {{"../in/endless.iv"}, 1, "a binary array of 2130706435 values, more than Coin3D's reader can take"},
      {{"../in/wrapping.iv"}, 1, "a binary array of 184549379 values, more than Coin3D's reader can take"},
      {{"../in/beyond.iv"}, 1, "a binary array of 4194307 values in the last 108 bytes of the file"},
      {{"-o", "no/such/dir/x.glb", "../in/good.iv"}, 1, "does not exist"},
      {{"-o", "/proc/x.glb", "../in/good.iv"}, 1, "/proc/x.glb"},
      {{"-o", "../in", "../in/good.iv"}, 1, "no writer for its extension"},
  };
  for (const Case &c : cases) {
    ProcessResult result = RunConvert(scratch, c.args, scratch.path() + "/out");
    EXPECT_EQ(result.status, c.status) << c.args.back() << "\n" << result.err;
    EXPECT_TRUE(Contains(result.err, c.message)) << result.err;
  }
  EXPECT_TRUE(scratch.List("out").empty());

  // Several inputs: each its own output, the status the worst of them.
  ProcessResult batch =
      RunConvert(scratch, {"../in/two.wrl", "../in/good.iv", "../in/missing.iv"}, scratch.path() + "/out");
  EXPECT_EQ(batch.status, 1);
  EXPECT_EQ(scratch.List("out"), std::vector<std::string>{"good.glb"});
}

TEST(ConvertCommand, NonAsciiPathsAndTheBundledExample) {
  ScratchDirectory scratch;
  scratch.Write("Modèle à l'été/Würfel ü.iv", kTwoShapes);
  scratch.Write("Sortie é/.keep", "");
  ProcessResult named = RunConvert(scratch, {"-o", "Sortie é/Résultat ü.glb", "Modèle à l'été/Würfel ü.iv"});
  EXPECT_EQ(named.status, 0) << named.err;
  EXPECT_EQ(scratch.List("Sortie é"), std::vector<std::string>{"Résultat ü.glb"});

  ProcessResult example = RunConvert(scratch, {});
  EXPECT_EQ(example.status, 0) << example.err;
  EXPECT_TRUE(Contains(example.err, "showcase.glb")) << example.err;
  EXPECT_EQ(ReadFile(scratch.path() + "/showcase.glb").substr(0, 4), "glTF");
}

// Thousands of shapes, so the run is still going when Ctrl-C arrives.
std::string ManyShapes(int count) {
  std::string text = "#Inventor V2.1 ascii\n\nSeparator {\n";
  for (int i = 0; i < count; ++i) {
    text += "Separator { Translation { translation " + std::to_string(i % 100) + " " + std::to_string(i / 100) +
            " 0 } Material { diffuseColor 0.5 0.5 " + std::to_string(i % 7 / 7.0) + " } Sphere {} }\n";
  }
  return text + "}\n";
}

// Ctrl-C as soon as the plug-in has started reading.
// Sends Ctrl-C once the read's progress line has reached standard error (a
// pipe: a buffered line would never come before an endless read); false
// when the line never came.
bool InterruptOnceReading(const ChildProcess &child) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  bool seen = false;
  while (!(seen = Contains(child.StandardError(), "Reading Inventor File")) &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  kill(child.pid(), SIGINT);
  return seen;
}

TEST(ConvertCommand, CtrlCStopsTheRunAndWritesNothing) {
  ScratchDirectory scratch;
  std::string input = scratch.Write("many.iv", ManyShapes(5000));
  ChildProcess child({KAVREL_CONVERT_PATH, input, "-o", scratch.path() + "/many.glb"}, scratch.path(),
                     scratch.path());
  EXPECT_TRUE(InterruptOnceReading(child));
  ProcessResult result = child.Wait(60);
  EXPECT_EQ(result.status, 1) << result.err;
  EXPECT_TRUE(Contains(result.err, "interrupted")) << result.err;
  EXPECT_EQ(scratch.List(), std::vector<std::string>{"many.iv"});
}

// Coin3D's reader never polls for an abort: the first Ctrl-C still ends
// the endless read, with status 1 and nothing written.
// A read that never comes back to poll for an abort (Coin3D's reader on
// input nobody foresaw; here a plug-in that hangs there).
TEST(ConvertCommand, CtrlCEndsAReadThatNeverPolls) {
  ScratchDirectory scratch;
  std::string input = scratch.Write("hangs.iv", kTwoShapes);
  ChildProcess child({KAVREL_CONVERT_PATH, "--plugin", FAULTY_PLUGIN_PATH, input, "-o", scratch.path() + "/hangs.glb"},
                     scratch.path(), scratch.path());
  EXPECT_TRUE(InterruptOnceReading(child)) << "the progress line before the endless read never came";
  ProcessResult result = child.Wait(30);
  EXPECT_EQ(result.status, 1) << result.err;
  EXPECT_TRUE(Contains(result.err, "did not stop (Coin3D's reader cannot be interrupted); nothing written"))
      << result.err;
  EXPECT_EQ(scratch.List(), std::vector<std::string>{"hangs.iv"});
}

TEST(ConvertCommand, MaxTrianglesIsSentAndRefusesLargerScenes) {
  ScratchDirectory scratch;
  scratch.Write("a.iv", kTwoShapes);
  ProcessResult refused = RunConvert(scratch, {"-q", "--max-triangles", "1", "a.iv"});
  EXPECT_EQ(refused.status, 1) << refused.err;
  EXPECT_TRUE(Contains(refused.err, "more than the limit of 1 triangles (max_triangles)")) << refused.err;
  ProcessResult unlimited = RunConvert(scratch, {"-q", "--max-triangles", "0", "--classic-counts", "a.iv"});
  EXPECT_EQ(unlimited.status, 0) << unlimited.err;
  EXPECT_FALSE(Contains(unlimited.err, "BAD_TOKEN")) << unlimited.err;
  EXPECT_EQ(RunConvert(scratch, {"--max-triangles", "-1", "a.iv"}).status, 2);
}

// A grid of n x n quads in one face set: its arrays are megabytes long.
std::string Grid(int n) {
  std::string text = "#Inventor V2.1 ascii\n\nSeparator { Coordinate3 { point [\n";
  for (int y = 0; y <= n; ++y)
    for (int x = 0; x <= n; ++x) text += std::to_string(x) + " " + std::to_string(y) + " " + std::to_string((x * y) % 7) + ",\n";
  text += "] } IndexedFaceSet { coordIndex [\n";
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      const int corner = y * (n + 1) + x;
      text += std::to_string(corner) + "," + std::to_string(corner + 1) + "," + std::to_string(corner + n + 2) + "," +
              std::to_string(corner + n + 1) + ",-1,\n";
    }
  }
  return text + "] } }\n";
}

// With the large-block pool, arrays of a megabyte and more come from it,
// and it reuses the space freed by one step for the next: the file must be
// the same to the byte.
TEST(ConvertCommand, ArraysFromTheLargeBlockPoolGiveTheSameFile) {
  ScratchDirectory scratch;
  scratch.Write("grid.iv", Grid(300));
  ASSERT_EQ(RunConvert(scratch, {"-q", "-o", "mapped.glb", "grid.iv"}).status, 0);
  setenv("KAVREL_LARGE_BLOCK_POOL", "1", 1);
  const ProcessResult pooled = RunConvert(scratch, {"-q", "-o", "pooled.glb", "grid.iv"});
  unsetenv("KAVREL_LARGE_BLOCK_POOL");
  ASSERT_EQ(pooled.status, 0) << pooled.err;
  const std::string mapped = ReadFile(scratch.path() + "/mapped.glb");
  EXPECT_GT(mapped.size(), size_t{10} << 20);
  EXPECT_TRUE(mapped == ReadFile(scratch.path() + "/pooled.glb"));
}

}  // namespace
}  // namespace kavrel_test
