#include <linux/capability.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "host/import_io.h"
#include "kavrel/host.h"
#include "options/options.h"
#include "options/preferences_file.h"
#include "plugin/plugin.h"
#include "tests/options/options_fixture.h"

namespace {

// The whole file as the defaults write it, spelled out rather than built
// from the option table: its text is read back by every later installation,
// so a change to the table that changes a line, a format or the order must
// show up here.
const char kDefaultFile[] =
    "# Default options for the Inventor geometry import converter.\n"
    "# !! Do not modify this file. It is written by the converter.\n"
    "[Preferences]\n"
    "load_textures = 1\ntextures_confirm_overwrite = 1\ndisplay_textures = 1\ntxtr_save_dir_same = 0\n"
    "txtr_save_dir = \"\"\ntxtr_ref_dir_strip = 0\ntxtr_ref_dir_specific = 0\ntxtr_ref_dir = \"\"\n"
    "import_lights = 1\nimport_cameras = 1\nimport_materials = 1\nflip_y_up = 0\nquick_naming = 0\n"
    "add_camera_headlight = 0\nprint_stats = 1\nalpha_source = 0\nalpha_invert = 0\ntransparency_source = 2\n"
    "optimize_hierarchy1 = 1\noptimize_hierarchy2 = 1\noptimize_number_of_objects = 0\nforceWeldVertices = 1\n"
    "forceWeldNormals = 1\nforceWeldTexCoords = 1\nforceWeldVertexColors = 1\nsmoothing_angle = 45\n"
    "calc_smoothed_normals = 0\nWeldVerticesThreshold = 0.0001\nWeldTexCoordsThreshold = 0.0001\n"
    "WeldVertexColorsThreshold = 0.0001\nWeldNormalsThreshold = 0.0001\nEnaMergePolygons = 0\n"
    "MergePolygonsQuadsOnly = 1\nMergePolygonsCoplanarAngle = 0.1\nImportTextureReferences = 1\n"
    "ImportVertexNormals = 1\nImportuvTextureCoordinates = 1\nImportVertexColors = 1\n"
    "last-surf-attr-combo-selected = 0\n"
    "surf-attr-mod-ambient-value = 0.300000\nsurf-attr-mod-ambient-operation = 1\n"
    "surf-attr-mod-diffuse-value = 0.400000\nsurf-attr-mod-diffuse-operation = 6\n"
    "surf-attr-mod-specular-value = 0.700000\nsurf-attr-mod-specular-operation = 6\n"
    "surf-attr-mod-luminous-value = 0.000000\nsurf-attr-mod-luminous-operation = 3\n"
    "surf-attr-mod-reflect-value = 0.000000\nsurf-attr-mod-reflect-operation = 1\n"
    "surf-attr-mod-opacity-value = 1.000000\nsurf-attr-mod-opacity-operation = 1\n"
    "surf-attr-mod-ior-value = 1.000000\nsurf-attr-mod-ior-operation = 1\n"
    "surf-attr-mod-phong-value = 32.000000\nsurf-attr-mod-phong-operation = 1\n"
    "lod_source = 0\nnthlod = 1\n";

ImportOptions &Options() { return plugin.state->options; }

// Saves as a user whom file permissions bind. Root may write any file, so
// the save runs on a thread of its own that gives up, for itself alone,
// the capabilities that override permissions.
int16_t SaveBoundByPermissions(const std::string &path) {
  int16_t status = -1;
  std::thread([&] {
    __user_cap_header_struct header = {_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] = {};
    ASSERT_EQ(syscall(SYS_capget, &header, data), 0);
    data[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER));
    ASSERT_EQ(syscall(SYS_capset, &header, data), 0);
    status = SaveImportConvertOptions_Inventor(path.c_str());
  }).join();
  return status;
}

std::vector<std::string> FileNames(const std::string &directory) {
  std::vector<std::string> names;
  for (const auto &entry : std::filesystem::directory_iterator(directory)) names.push_back(entry.path().filename());
  return names;
}

// The process locale for one scope; the "C" locale again afterwards.
class ScopedLocale {
 public:
  explicit ScopedLocale(const char *name) : set_(std::setlocale(LC_ALL, name) != nullptr) {}
  ~ScopedLocale() { std::setlocale(LC_ALL, "C"); }
  bool set() const { return set_; }

 private:
  bool set_;
};

}  // namespace

using PreferencesFile = OptionsTest;

TEST_F(PreferencesFile, WritesTheDefaultsByteForByte) {
  EXPECT_EQ(SaveImportConvertOptions_Inventor(PreferencesPath().c_str()), 0);
  EXPECT_EQ(ReadPreferences(), kDefaultFile);
  // The path goes through the host's conversion before it is opened.
  auto converts = host_.journal().calls("Kv_Convert_Pathname");
  ASSERT_FALSE(converts.empty());
  EXPECT_EQ(converts.back()->items[0].text, PreferencesPath());
}

// Our host's own run-time tokens are options of no preferences file.
TEST_F(PreferencesFile, RunOnlyOptionsStayOutOfTheFile) {
  Options().count_in_traversal_state = 1;
  Options().max_triangles = 5;
  EXPECT_EQ(SaveImportConvertOptions_Inventor(PreferencesPath().c_str()), 0);
  EXPECT_EQ(ReadPreferences(), kDefaultFile);
}

TEST_F(PreferencesFile, ReadsBackWhatItWrote) {
  ImportOptions &o = Options();
  Import_IO_Copy_String(&o.txtr_save_dir, "/tex/a b=c/");
  o.import_lights = 0;
  o.alpha_source = -3;
  o.nthlod = 70000;
  o.WeldVerticesThreshold = 0.000123456789f;
  o.smoothing_angle = 1e-7f;
  surf_attr_mod_value[kAttrPhong] = 12.3456789f;
  surf_attr_mod_operation[kAttrIor] = 5;
  last_surf_attr_combo_selected = 6;
  ASSERT_EQ(SaveImportConvertOptions_Inventor(PreferencesPath().c_str()), 0);
  EXPECT_EQ(StoredValue("smoothing_angle"), "1e-07");
  Initialize();  // a new state with fresh defaults, then the file over them
  const ImportOptions &loaded = Options();
  EXPECT_STREQ(loaded.txtr_save_dir, "/tex/a b=c/");
  EXPECT_EQ(loaded.txtr_ref_dir, nullptr);
  EXPECT_EQ(loaded.import_lights, 0);
  EXPECT_EQ(loaded.alpha_source, -3);
  EXPECT_EQ(loaded.nthlod, 70000);
  EXPECT_FLOAT_EQ(loaded.WeldVerticesThreshold, 0.000123457f);
  EXPECT_FLOAT_EQ(surf_attr_mod_value[kAttrPhong], 12.345679f);
  EXPECT_EQ(surf_attr_mod_operation[kAttrIor], 5);
  EXPECT_EQ(last_surf_attr_combo_selected, 6);
}

TEST_F(PreferencesFile, SkipsWhatIsNotAnOptionAndStopsAtTheFirstMalformedLine) {
  WritePreferences(
      "# comment\r\n[Any Section]\r\n\r\n  \t\r\nx\r\n"
      "no_such_key = 5\n"
      "Import_Lights = 0\n"                      // other capitals: not the key
      "import_lights = 65537\n"                  // low 16 bits: 1
      "flip_y_up = yes\n"                        // not a number: 0
      "add_camera_headlight = 1\nadd_camera_headlight = 0\n"  // the last one counts
      "last-surf-attr-combo-selected = 3.9\n"
      "txtr_ref_dir =   /a dir/with = sign/  \n"
      "==quick_naming = 1\n"                     // leading "=" are skipped
      "[late section]\n# late comment\n"
      "print_stats 0\n"                          // no "=": reading ends here
      "import_cameras = 0\n");
  Initialize();
  const ImportOptions &o = Options();
  EXPECT_EQ(o.import_lights, 1);
  EXPECT_EQ(o.flip_y_up, 0);
  EXPECT_EQ(o.add_camera_headlight, 0);
  EXPECT_EQ(last_surf_attr_combo_selected, 3);
  EXPECT_STREQ(o.txtr_ref_dir, "/a dir/with = sign/");
  EXPECT_EQ(o.quick_naming, 1);
  EXPECT_EQ(o.print_stats, 1);
  EXPECT_EQ(o.import_cameras, 1);

  WritePreferences("import_lights = 0\ntxtr_save_dir =\nimport_cameras = 0\n");
  Initialize();
  EXPECT_EQ(Options().import_lights, 0);
  EXPECT_EQ(Options().import_cameras, 1);  // after the empty value
}

TEST_F(PreferencesFile, QuotesMeanNoDirectoryAndLongTextIsSkipped) {
  std::string long_dir(200, 'd');
  WritePreferences("txtr_save_dir = /first/\n"
                   "txtr_save_dir = /" + long_dir + "/\n" +
                   std::string(130, 'k') + " = 1\n"
                   "txtr_ref_dir = \"\"\n"
                   "import_materials = 0\n"
                   "huge = " + std::string(3000, 'h') + "\n"  // its second piece has no "="
                   "import_cameras = 0\n");
  Initialize();
  EXPECT_STREQ(Options().txtr_save_dir, "/first/");  // the long value did not replace it
  EXPECT_EQ(Options().txtr_ref_dir, nullptr);
  EXPECT_EQ(Options().import_materials, 0);  // reading went on past the long key and value
  EXPECT_EQ(Options().import_cameras, 1);    // but not past a line longer than 2047 characters
}

TEST_F(PreferencesFile, SurvivesMissingEmptyBinaryAndHugeFiles) {
  EXPECT_EQ(LoadImportConvertOptions_Inventor((directory_ + "missing.ini").c_str()), 1);
  EXPECT_EQ(LoadImportConvertOptions_Inventor(nullptr), 1);
  EXPECT_EQ(LoadImportConvertOptions_Inventor(std::string(5000, 'p').c_str()), 1);
  WritePreferences("");
  EXPECT_EQ(LoadImportConvertOptions_Inventor(PreferencesPath().c_str()), 0);
  std::mt19937 random(7);
  std::string noise;
  for (int i = 0; i < 100000; ++i) noise += static_cast<char>(random());
  WritePreferences(noise);
  EXPECT_EQ(LoadImportConvertOptions_Inventor(PreferencesPath().c_str()), 0);
  host_.journal().set_enabled(false);
  std::string huge;
  for (int i = 0; i < 20000; ++i) huge += "# line " + std::to_string(i) + " of a long file\n";
  WritePreferences(huge + "flip_y_up = 1\n");
  EXPECT_EQ(LoadImportConvertOptions_Inventor(PreferencesPath().c_str()), 0);
  host_.journal().set_enabled(true);
  EXPECT_EQ(Options().flip_y_up, 1);
  EXPECT_TRUE(errors_.empty());
}

TEST_F(PreferencesFile, ReportsAFileItCannotWrite) {
  WritePreferences("x");
  std::string path = PreferencesPath() + "/vorlix.ini";  // below a plain file
  EXPECT_EQ(SaveImportConvertOptions_Inventor(path.c_str()), 1);
  auto reports = host_.journal().calls("Kv_Report_Error");
  ASSERT_EQ(reports.size(), 1u);
  std::vector<std::string> texts;
  for (const auto &item : reports[0]->items) texts.push_back(item.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"", "OUTERR_FILE_OPEN_WRITE", "SaveImportConvertOptions_Inventor()",
                                             "Inventor .INI", path}));
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0].first, 4);
  EXPECT_EQ(ReadPreferences(), "x");
}

// The file is replaced whole or not at all: a write that fails half-way
// (here the process may write no more than 200 bytes into a file) leaves
// the old file and no temporary file, and is reported like a file that
// cannot be opened.
TEST_F(PreferencesFile, AFailedWriteKeepsTheOldFileWhole) {
  WritePreferences("flip_y_up = 1\n");
  struct rlimit saved;
  getrlimit(RLIMIT_FSIZE, &saved);
  struct rlimit small = saved;
  small.rlim_cur = 200;
  void (*previous)(int) = signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  const int16_t status = SaveImportConvertOptions_Inventor(PreferencesPath().c_str());
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previous);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(ReadPreferences(), "flip_y_up = 1\n");
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0].first, 4);

  EXPECT_EQ(SaveImportConvertOptions_Inventor(PreferencesPath().c_str()), 0);
  EXPECT_EQ(ReadPreferences(), kDefaultFile);
  EXPECT_EQ(FileNames(directory_), std::vector<std::string>{"vorlix.ini"});
}

// A read-only file refuses an open for writing, so it is not replaced
// either: it keeps its text, and the save is reported as such an open is.
TEST_F(PreferencesFile, AReadOnlyFileStaysAsItIs) {
  WritePreferences("flip_y_up = 1\n");
  ASSERT_EQ(chmod(PreferencesPath().c_str(), 0444), 0);
  EXPECT_EQ(SaveBoundByPermissions(PreferencesPath()), 1);
  EXPECT_EQ(ReadPreferences(), "flip_y_up = 1\n");
  EXPECT_EQ(FileNames(directory_), std::vector<std::string>{"vorlix.ini"});
  auto reports = host_.journal().calls("Kv_Report_Error");
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0]->items[1].text, "OUTERR_FILE_OPEN_WRITE");
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0].first, 4);
}

// No file can be made beside it: the file itself is opened, emptied and
// written, keeping its permissions.
TEST_F(PreferencesFile, AFileInAReadOnlyFolderIsRewrittenInPlace) {
  WritePreferences("flip_y_up = 1\n");
  ASSERT_EQ(chmod(PreferencesPath().c_str(), 0660), 0);
  ASSERT_EQ(chmod(directory_.c_str(), 0555), 0);
  const int16_t status = SaveBoundByPermissions(PreferencesPath());
  chmod(directory_.c_str(), 0755);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadPreferences(), kDefaultFile);
  EXPECT_EQ(FileNames(directory_), std::vector<std::string>{"vorlix.ini"});
  struct stat info;
  ASSERT_EQ(stat(PreferencesPath().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0660u);
  EXPECT_TRUE(errors_.empty());
}

// A host in a comma-decimal locale still writes and reads "0.0001": the
// file is the same for every locale.
TEST_F(PreferencesFile, NumbersKeepTheirPointInACommaLocale) {
  ScopedLocale german("de_DE.UTF-8");
  ASSERT_TRUE(german.set()) << "the locale de_DE.UTF-8 is missing: scripts/setup.sh generates it";
  char probe[16];
  std::snprintf(probe, sizeof probe, "%g", 0.5);
  ASSERT_STREQ(probe, "0,5");  // the locale is in force for the C library
  EXPECT_EQ(SaveImportConvertOptions_Inventor(PreferencesPath().c_str()), 0);
  EXPECT_EQ(ReadPreferences(), kDefaultFile);
  WritePreferences("WeldVerticesThreshold = 0.25\nsurf-attr-mod-phong-value = 12.5\n"
                   "last-surf-attr-combo-selected = 3.9\n");
  Initialize();
  EXPECT_FLOAT_EQ(Options().WeldVerticesThreshold, 0.25f);
  EXPECT_FLOAT_EQ(surf_attr_mod_value[kAttrPhong], 12.5f);
  EXPECT_EQ(last_surf_attr_combo_selected, 3);
}

// What Windows writes (CRLF) reads back as what POSIX writes (LF).
TEST_F(PreferencesFile, ReadsCarriageReturnLineEnds) {
  Import_IO_Copy_String(&Options().txtr_ref_dir, "/maps/");
  Options().import_cameras = 0;
  Options().MergePolygonsCoplanarAngle = 2.5f;
  surf_attr_mod_operation[kAttrIor] = 4;
  ASSERT_EQ(SaveImportConvertOptions_Inventor(PreferencesPath().c_str()), 0);
  std::string text;
  for (char c : ReadPreferences()) text += c == '\n' ? std::string("\r\n") : std::string(1, c);
  WritePreferences(text);
  Initialize();
  EXPECT_STREQ(Options().txtr_ref_dir, "/maps/");
  EXPECT_EQ(Options().txtr_save_dir, nullptr);
  EXPECT_EQ(Options().import_cameras, 0);
  EXPECT_FLOAT_EQ(Options().MergePolygonsCoplanarAngle, 2.5f);
  EXPECT_EQ(surf_attr_mod_operation[kAttrIor], 4);
  EXPECT_EQ(Options().nthlod, 1);  // the last line
}
