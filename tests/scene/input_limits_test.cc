// Input the traversal could not survive or finish is refused with one
// message before anything reaches the host; the run ends with status 1.
#include <Inventor/SoDB.h>
#include <Inventor/SoOutput.h>
#include <Inventor/actions/SoWriteAction.h>
#include <Inventor/VRMLnodes/SoVRMLSound.h>
#include <Inventor/fields/SoFieldData.h>
#include <Inventor/fields/SoMFName.h>
#include <Inventor/fields/SoSFName.h>
#include <Inventor/lists/SoTypeList.h>
#include <Inventor/nodekits/SoNodeKit.h>
#include <Inventor/nodes/SoCube.h>
#include <Inventor/nodes/SoSeparator.h>
#include <Inventor/nodes/SoTexture2.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zlib.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "plugin/plugin.h"
#include "scene/input_prescan.h"
#include "scene/name_values.h"
#include "tests/plugin/conversion_scenario.h"

namespace {

using plugin_test::DefinedObjects;

const plugin_test::Tokens kQuick = {{"quick_naming", "1"}, {"print_stats", "0"}};

std::string Nested(uint64_t levels) {
  std::string text = "#Inventor V2.1 ascii\n";
  for (uint64_t i = 0; i < levels; ++i) text += "Group {\n";
  text += "DEF Deepest Cube {}\n";
  for (uint64_t i = 0; i < levels; ++i) text += "}\n";
  return text;
}

// Level i uses level i - 1 twice: 2^levels cubes from a few lines.
std::string Doubling(int levels) {
  std::string text = "#Inventor V2.1 ascii\nSeparator {\nDEF L0 Cube {}\nDEF Top Group {\n";
  for (int i = 1; i <= levels; ++i) {
    text += "DEF L" + std::to_string(i) + " Group { USE L" + std::to_string(i - 1) + " USE L" +
            std::to_string(i - 1) + " }\n";
  }
  return text + "} }\n";
}

// A refusal is a fatal error: reported at level 5, printed by the error hook.
void ExpectRefused(plugin_test::Conversion &run, int32_t result, const std::string &message) {
  EXPECT_EQ(result, 1);
  EXPECT_EQ(run.Errors(5), std::vector<std::string>{message});
  EXPECT_EQ(run.printed, message + "\n");
  EXPECT_TRUE(DefinedObjects().empty());
  EXPECT_TRUE(kavrel::CurrentHost().journal().calls("Kv_Add_Instance").empty());
}

TEST(InputLimits, DefUseCyclesAreRefusedBeforeTheTraversal) {
  plugin_test::Conversion run;
  ExpectRefused(run, run.ConvertText("#Inventor V2.1 ascii\nDEF a Separator { Cube {} USE a }\n", kQuick),
                "Input refused: Separator 'a' contains itself (a DEF/USE cycle the traversal cannot finish).");
  ExpectRefused(run,
                run.ConvertText("#Inventor V2.1 ascii\nSeparator { DEF a Group { Cube {} DEF b Group { USE a } } }\n",
                                kQuick),
                "Input refused: Group 'a' contains itself (a DEF/USE cycle the traversal cannot finish).");
  // Sharing without a cycle is fine.
  EXPECT_EQ(run.ConvertText("#Inventor V2.1 ascii\nSeparator { DEF a Group { Cube {} } USE a USE a }\n", kQuick), 0);
  EXPECT_EQ(DefinedObjects().size(), 3u);
  EXPECT_TRUE(run.Errors(4).empty());
}

// Coin3D's reader and the traversal recurse per level: the conversion's
// large stack takes deep files, the documented depth is the limit.
TEST(InputLimits, DeepNestingConvertsUpToTheDocumentedDepth) {
  plugin_test::Conversion run;
  EXPECT_EQ(run.ConvertText(Nested(12000), kQuick), 0);
  EXPECT_EQ(DefinedObjects(), std::vector<std::string>{"Deepest"});
  ExpectRefused(run, run.ConvertText(Nested(kMaxNestingDepth + 1), kQuick),
                "Input refused: nodes nested more than 100000 deep (line 100002).");
  // Nesting made by USE rather than braces is measured in the graph.
  std::string text = "#Inventor V2.1 ascii\nSeparator { DEF D0 Group { Cube {} }\n";
  for (int i = 1; i <= 3; ++i) {
    text += "DEF D" + std::to_string(i) + " Group {";
    for (int j = 0; j < 40000; ++j) text += "Group {";
    text += " USE D" + std::to_string(i - 1) + " " + std::string(40001, '}') + "\n";
  }
  ExpectRefused(run, run.ConvertText(text + "}\n", kQuick),
                "Input refused: nodes nested 120006 deep, more than 100000.");
}

std::string WithName(size_t length) {
  return "#Inventor V2.1 ascii\nSeparator {\n# a comment\nDEF " + std::string(length, 'n') + " Cube {} }\n";
}

// Coin3D's reader crashes on names of about 65,500 characters.
TEST(InputLimits, OverlongNamesAreRefusedPlainOrCompressed) {
  plugin_test::Conversion run;
  const std::string refusal = "Input refused: a name longer than 65000 characters (line 4).";
  ExpectRefused(run, run.ConvertText(WithName(65600), kQuick), refusal);
  const std::string compressed = run.dir() + "scene.iv.gz";
  gzFile file = gzopen(compressed.c_str(), "wb");
  const std::string text = WithName(70000);
  gzwrite(file, text.data(), static_cast<unsigned>(text.size()));
  gzclose(file);
  ExpectRefused(run, run.Convert(compressed, kQuick), refusal);
  // A word that starts like a number is measured too, across the scan's
  // 64 KB blocks.
  ExpectRefused(run,
                run.ConvertText("#Inventor V2.1 ascii\nSeparator {\n\nCube { width -1" + std::string(140000, 'n') +
                                    " }\n}\n",
                                kQuick),
                "Input refused: a name longer than 65000 characters (line 4).");
  // Lines of numbers (taken a run at a time) over many blocks, numbers cut
  // by a block's end among them, still count towards the line reported.
  std::string points = "#Inventor V2.1 ascii\nSeparator {\nCoordinate3 { point [\n";
  for (int i = 0; i < 30000; ++i) points += std::to_string(i) + " -1.5e-3 +.25,\n";
  ExpectRefused(run, run.ConvertText(points + "] }\nDEF " + std::string(65600, 'n') + " Cube {} }\n", kQuick),
                "Input refused: a name longer than 65000 characters (line 30005).");
  EXPECT_EQ(run.ConvertText(WithName(kMaxTokenLength), kQuick), 0);
  EXPECT_EQ(DefinedObjects().size(), 1u);
}

// The name fields the prescan knows are every SFName and MFName field of
// Coin3D's own classes.
TEST(InputLimits, TheKnownNameFieldsAreCoinsOwn) {
  SoDB::init();
  SoNodeKit::init();
  std::set<std::string> found;
  SoTypeList types;
  const int count = SoType::getAllDerivedFrom(SoFieldContainer::getClassTypeId(), types);
  for (int i = 0; i < count; ++i) {
    // Sound nodes warn when made; they have no name fields.
    if (!types[i].canCreateInstance() || types[i].isDerivedFrom(SoVRMLSound::getClassTypeId())) continue;
    SoFieldContainer *container = static_cast<SoFieldContainer *>(types[i].createInstance());
    container->ref();
    const SoFieldData *fields = container->getFieldData();
    for (int f = 0; fields && f < fields->getNumFields(); ++f) {
      const SoField *field = fields->getField(container, f);
      if (field->isOfType(SoSFName::getClassTypeId()) || field->isOfType(SoMFName::getClassTypeId()))
        found.insert(fields->getFieldName(f).getString());
    }
    container->unref();
  }
  EXPECT_EQ(found, std::set<std::string>(std::begin(kCoinNameFields), std::end(kCoinNameFields)));
}

// Coin3D reads quoted strings of any length as strings; DEF names and the
// values of name fields (a Label's label, a field a file declares SFName)
// become names. (Binary strings above 10 KB Coin3D refuses by itself.)
TEST(InputLimits, LongStringsConvertAndLongNamesAreRefused) {
  plugin_test::Conversion run;
  const std::string text = std::string(70000, 's');
  EXPECT_EQ(run.ConvertText("#Inventor V2.1 ascii\nSeparator { Info { string \"" + text +
                                "\" } DEF Words Text3 { string [ \"" + text.substr(0, 3000) + "\" ] } }\n",
                            kQuick),
            0);
  EXPECT_EQ(DefinedObjects(), std::vector<std::string>{"Words"});
  EXPECT_TRUE(run.Errors(5).empty());
  const std::string refusal = "Input refused: a name longer than 65000 characters";
  ExpectRefused(run, run.ConvertText("#Inventor V2.1 ascii\nDEF \"" + text + "\" Cube {}\n", kQuick),
                refusal + " (line 2).");
  ExpectRefused(run, run.ConvertText("#Inventor V2.1 ascii\nSeparator {\nLabel { label \"" + text + "\" }\n}\n", kQuick),
                refusal + " (line 3).");
  ExpectRefused(run,
                run.ConvertText("#Inventor V2.1 ascii\nSeparator { Frob { fields [ SFName tag ] tag \"" + text +
                                "\" } }\n", kQuick),
                refusal + " (line 2).");

}

// levels nested Separators around a cube, in Inventor's binary format: a
// level is its class name as a counted string, its flags (a group), no
// fields and one child.
std::string DeepBinary(int levels) {
  const std::string separator("\0\0\0\x09Separator\0\0\0\0\0\0\x02\0\0\0\0\0\0\0\x01", 28);
  const std::string cube("\0\0\0\x04" "Cube\0\0\0\0\0\0\0\0", 16);
  std::string bytes = "#Inventor V2.1 binary  \n";
  bytes.reserve(bytes.size() + separator.size() * static_cast<size_t>(levels) + cube.size());
  for (int i = 0; i < levels; ++i) bytes += separator;
  return bytes + cube;
}

// The same levels as Coin3D writes them (the format the generator follows).
std::string DeepBinaryFromCoin(int levels) {
  SoDB::init();
  SoNode *chain = new SoCube;
  for (int i = 0; i < levels; ++i) {
    SoSeparator *level = new SoSeparator;
    level->addChild(chain);
    chain = level;
  }
  chain->ref();
  SoOutput output;
  output.setBinary(TRUE);
  output.setBuffer(std::malloc(256), 256, std::realloc);
  SoWriteAction(&output).apply(chain);
  void *buffer;
  size_t size;
  output.getBuffer(buffer, size);
  const std::string bytes(static_cast<char *>(buffer), size);
  std::free(buffer);
  chain->unref();
  return bytes;
}

void WriteCompressed(const std::string &path, const std::string &bytes) {
  gzFile file = gzopen(path.c_str(), "wb");
  gzwrite(file, bytes.data(), static_cast<unsigned>(bytes.size()));
  gzclose(file);
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

// Binary files are not pre-scanned: Coin3D's reader is stopped before its
// recursion runs out of stack.
TEST(InputLimits, DeepBinaryFilesAreRefusedWhileRead) {
  ASSERT_EQ(DeepBinary(3), DeepBinaryFromCoin(3));
  plugin_test::Conversion run;
  // A million levels: 68 KB compressed.
  const std::string deep = run.dir() + "deep.iv.gz";
  WriteCompressed(deep, DeepBinary(1000000));
  ExpectRefused(run, run.Convert(deep, kQuick), "Input refused: nodes nested more than 100000 deep.");
  // Near the limit, binary files convert: the stack's size is made for the
  // plain build's frames (this took two minutes under AddressSanitizer).
  if (kSanitized) return;
  WriteCompressed(deep, DeepBinary(static_cast<int>(kMaxNestingDepth) - 10));
  EXPECT_EQ(run.Convert(deep, kQuick), 0);
  EXPECT_EQ(DefinedObjects().size(), 1u);
}

// Coin3D follows File includes into themselves until it runs out of files,
// and goes on without an include it could not read.
TEST(InputLimits, IncludeCyclesAreRefusedAndBrokenIncludesAreNeverSilent) {
  plugin_test::Conversion run;
  auto including = [](const std::string &name) {
    return "#Inventor V2.1 ascii\nSeparator { Cube {} File { name \"" + name + "\" } }\n";
  };
  const std::string self = run.Write("self.iv", including("self.iv"));
  ExpectRefused(run, run.Convert(self, kQuick), "Input refused: '" + self + "' includes itself (self.iv > self.iv).");
  run.Write("a.iv", including("b.iv"));
  const std::string b = run.Write("b.iv", including("a.iv"));
  ExpectRefused(run, run.Convert(b, kQuick),
                "Input refused: '" + b + "' includes itself (b.iv > a.iv > b.iv).");

  // One file included twice is no cycle.
  run.Write("leaf.iv", "#Inventor V2.1 ascii\nSphere {}\n");
  const std::string twice = run.Write("twice.iv", including("leaf.iv") + "File { name \"leaf.iv\" }\n");
  EXPECT_EQ(run.Convert(twice, kQuick), 0);
  EXPECT_EQ(DefinedObjects().size(), 3u);

  run.Write("broken.iv", "#Inventor V2.1 ascii\nSeparator { Cube { width } Frobnicate {} }\n");
  EXPECT_EQ(run.Convert(run.Write("main.iv", including("broken.iv")), kQuick), 1);
  ASSERT_EQ(run.Errors(5).size(), 1u);
  EXPECT_EQ(run.Errors(5)[0].rfind("Input refused: an included file could not be read: ", 0), 0u) << run.Errors(5)[0];
  EXPECT_TRUE(DefinedObjects().empty());

  EXPECT_EQ(run.Convert(run.Write("main.iv", including("gone.iv")), kQuick), 0);
  EXPECT_EQ(run.Errors(1),
            std::vector<std::string>{"Warning: the included file 'gone.iv' was not found; its contents are missing."});
  EXPECT_EQ(DefinedObjects().size(), 1u);
}

TEST(InputLimits, TrianglesBeyondMaxTrianglesAreRefusedWithTheNumbers) {
  plugin_test::Conversion run;
  ExpectRefused(run, run.ConvertText(Doubling(40), {{"max_triangles", "200000000"}}),
                "Input refused: the scene would make 2199023255551 shape instances with 26388279066612 triangles, "
                "more than the limit of 200000000 triangles (max_triangles).");
  ExpectRefused(run, run.ConvertText(Doubling(1), {{"max_triangles", "24"}}),
                "Input refused: the scene would make 3 shape instances with 36 triangles, more than the limit of 24 "
                "triangles (max_triangles).");
  // Every run starts without a limit unless its tokens give one.
  EXPECT_EQ(run.ConvertText(Doubling(3), kQuick), 0);
  EXPECT_EQ(kavrel::CurrentHost().journal().calls("Kv_Add_Instance").size(), 15u);
}

// Coin3D opens the files a scene names while reading it; a FIFO or a device
// in any place its search tries would block or feed it without end. (FIFOs
// and /dev exist only on POSIX systems.)
#ifndef _WIN32
TEST(InputLimits, NamesLeadingToFifosOrDevicesAreRefusedUnopened) {
  plugin_test::Conversion run;
  ASSERT_EQ(mkfifo((run.dir() + "wood.rgb").c_str(), 0644), 0);
  ASSERT_EQ(mkdir((run.dir() + "textures").c_str(), 0755), 0);
  ASSERT_EQ(mkfifo((run.dir() + "textures/bark.rgb").c_str(), 0644), 0);
  auto scene = [](const std::string &node) { return "#Inventor V2.1 ascii\nSeparator { " + node + " Cube {} }\n"; };
  ExpectRefused(run, run.ConvertText(scene("Texture2 { filename \"wood.rgb\" }"), kQuick),
                "Input refused: 'wood.rgb' leads to '" + run.dir() + "wood.rgb', which is not a regular file.");
  // Coin3D looks a drive-relative name up by what follows the drive.
  ExpectRefused(run, run.ConvertText(scene("Texture2 { filename \"D:wood.rgb\" }"), kQuick),
                "Input refused: 'D:wood.rgb' leads to '" + run.dir() + "wood.rgb', which is not a regular file.");
  ExpectRefused(run, run.ConvertText(scene("Texture2 { filename maps/bark.rgb }"), kQuick),
                "Input refused: 'maps/bark.rgb' leads to '" + run.dir() + "textures/bark.rgb', which is not a "
                "regular file.");
  ExpectRefused(run, run.ConvertText(scene("File { name \"/dev/zero\" }"), kQuick),
                "Input refused: '/dev/zero' leads to '/dev/zero', which is not a regular file.");

  // Binary files give their names as counted strings.
  SoDB::init();
  SoSeparator *root = new SoSeparator;
  root->ref();
  SoTexture2 *texture = new SoTexture2;
  texture->filename.setValue("wood.rgb");
  root->addChild(texture);
  SoOutput output;
  output.openFile((run.dir() + "binary.iv").c_str());
  output.setBinary(TRUE);
  SoWriteAction(&output).apply(root);
  output.closeFile();
  root->unref();
  ExpectRefused(run, run.Convert(run.dir() + "binary.iv", kQuick),
                "Input refused: 'wood.rgb' leads to '" + run.dir() + "wood.rgb', which is not a regular file.");

  // Regular files and missing files still convert.
  run.Write("plain.rgb", "not an image");
  EXPECT_EQ(run.ConvertText(scene("Texture2 { filename \"plain.rgb\" } Texture2 { filename \"gone.rgb\" }"), kQuick), 0);
}
#endif

}  // namespace
