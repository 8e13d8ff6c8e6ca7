#include <gtest/gtest-spi.h>
#include <sys/stat.h>

#include "host/import_io.h"
#include "kavrel/host.h"
#include "options/preferences_file.h"
#include "options/resource.h"
#include "plugin/plugin.h"
#include "tests/options/options_fixture.h"

using win32::DialogDriver;
using win32::ScriptedUser;
using MessageList = std::vector<std::pair<std::string, std::string>>;

namespace {

ScriptedUser::Step Reply(int button) {
  return [button](DialogDriver &d) {
    EXPECT_TRUE(d.IsMessageBox());
    d.Answer(button);
  };
}

ImportOptions &Options() { return plugin.state->options; }

}  // namespace

using OptionsDialog = OptionsTest;

TEST_F(OptionsDialog, OpensFilledAndGreysControlsByTheRules) {
  ScriptedUser user{[](DialogDriver &d) {
    EXPECT_EQ(d.TemplateName(), "OptionsDialog");
    EXPECT_TRUE(d.Checked(IDC_IMPORT_LIGHTS));
    EXPECT_FALSE(d.Checked(IDC_FLIP_Y_UP));
    EXPECT_TRUE(d.Checked(IDC_SAVE_DIR_SAME));  // no directory set: same location
    EXPECT_EQ(d.Text(IDC_SMOOTHING_ANGLE), "45");
    EXPECT_EQ(d.Text(IDC_WELD_NORMALS_THRESHOLD), "0.0001");
    EXPECT_EQ(d.Text(IDC_MERGE_COPLANAR_ANGLE), "0.1");
    EXPECT_EQ(d.Text(IDC_LOD_LEVEL), "1");
    EXPECT_EQ(d.Items(IDC_LOD_SOURCE), (std::vector<std::string>{"Choose first", "Choose last", "Choose Nth"}));
    EXPECT_EQ(d.Items(IDC_ALPHA_SOURCE),
              (std::vector<std::string>{"Alpha channel from image", "Chroma key: upper left", "Chroma key: lower left",
                                        "Alpha chan always opaque"}));
    EXPECT_EQ(d.SelectedItem(IDC_TRANSPARENCY_SOURCE), "Follow Inventor specification");
    EXPECT_FALSE(d.Enabled(IDC_LOD_LEVEL));
    EXPECT_FALSE(d.Enabled(IDC_MERGE_COPLANAR_ANGLE));
    EXPECT_TRUE(d.Enabled(IDC_WELD_NORMALS_THRESHOLD));

    d.Choose(IDC_LOD_SOURCE, "Choose Nth");
    EXPECT_TRUE(d.Enabled(IDC_LOD_LEVEL) && d.Enabled(IDC_LOD_LEVEL_LABEL));
    d.Click(IDC_MERGE_POLYGONS);
    for (int id : {165, 166, 167}) EXPECT_TRUE(d.Enabled(id)) << id;
    d.Click(IDC_WELD_VERTICES);
    for (int id = 157; id <= 163; ++id) EXPECT_FALSE(d.Enabled(id)) << id;
    d.Choose(IDC_ALPHA_SOURCE, "Chroma key: lower left");
    d.Click(IDC_LOAD_TEXTURES);
    EXPECT_FALSE(d.Checked(IDC_LOAD_TEXTURES));
    EXPECT_TRUE(d.Enabled(IDC_LOAD_TEXTURES));
    for (int id : {119, 122, 123, 124, 125, 126, 127, 128, 129, 130, 131, 132, 133, 134}) {
      EXPECT_FALSE(d.Enabled(id)) << id;
    }
    EXPECT_FALSE(d.Click(IDC_ALPHA_INVERT));
    EXPECT_FALSE(d.Choose(IDC_ALPHA_SOURCE, 0));
    d.Choose(IDC_TRANSPARENCY_SOURCE, "Alpha value from texture map");
    d.PressCancel();
  }};
  EXPECT_EQ(ShowOptions(user), 0);
  EXPECT_EQ(Options().lod_source, 2);
  EXPECT_EQ(Options().EnaMergePolygons, 1);
  EXPECT_EQ(Options().forceWeldVertices, 0);
  EXPECT_EQ(Options().load_textures, 0);
  EXPECT_EQ(Options().transparency_source, 0);
  EXPECT_EQ(Options().alpha_source, 2);
  EXPECT_EQ(host_.journal().calls("Import_IO_Center_Window").size(), 1u);
}

TEST_F(OptionsDialog, TexturePathChoicesExcludeEachOther) {
  std::string textures = directory_ + "tex";
  ASSERT_EQ(mkdir(textures.c_str(), 0755), 0);
  ScriptedUser user{
      [&](DialogDriver &d) {
        d.Click(IDC_REF_DIR_STRIP);
        d.Click(IDC_REF_DIR_SPECIFIC);
        EXPECT_TRUE(d.Checked(IDC_REF_DIR_SPECIFIC) && !d.Checked(IDC_REF_DIR_STRIP));
        d.Click(IDC_REF_DIR_STRIP);
        EXPECT_TRUE(d.Checked(IDC_REF_DIR_STRIP) && !d.Checked(IDC_REF_DIR_SPECIFIC));
        d.Click(IDC_REF_DIR_BROWSE);
        EXPECT_TRUE(d.Checked(IDC_REF_DIR_SPECIFIC) && !d.Checked(IDC_REF_DIR_STRIP));
        EXPECT_EQ(d.Text(IDC_REF_DIR), textures + "/");
        d.Click(IDC_SAVE_DIR_BROWSE);
        EXPECT_TRUE(d.Checked(IDC_SAVE_DIR_SPECIFIC) && !d.Checked(IDC_SAVE_DIR_SAME));
        EXPECT_EQ(d.Text(IDC_SAVE_DIR), textures + "/");
        d.PressOk();
      },
      [&](DialogDriver &d) {
        EXPECT_EQ(d.Caption(), "Select Destination Directory");
        EXPECT_EQ(d.MessageText(), "Select New Directory File Path");
        d.Type(win32::kPromptEditId, textures);
        d.PressOk();
      },
      [&](DialogDriver &d) {
        EXPECT_EQ(d.MessageText(), "Select Destination Directory for Extracted Textures");
        d.Type(win32::kPromptEditId, directory_ + "nowhere");
        d.PressOk();
      },
      Reply(IDOK),  // no such directory: asked again
      [&](DialogDriver &d) {
        d.Type(win32::kPromptEditId, textures);
        d.PressOk();
      },
  };
  EXPECT_EQ(ShowOptions(user), 1);
  EXPECT_EQ(StoredValue("txtr_ref_dir"), textures + "/");
  EXPECT_EQ(StoredValue("txtr_ref_dir_specific"), "1");
  EXPECT_EQ(StoredValue("txtr_ref_dir_strip"), "0");
  EXPECT_EQ(StoredValue("txtr_save_dir"), textures + "/");
  EXPECT_EQ(StoredValue("txtr_save_dir_same"), "0");
}

TEST_F(OptionsDialog, OkTestsTheTypedNumbersInOrder) {
  ScriptedUser user{[](DialogDriver &d) {
                      d.Type(IDC_SMOOTHING_ANGLE, "200");
                      d.PressOk();
                      EXPECT_EQ(d.Focus(), IDC_SMOOTHING_ANGLE);
                      d.Type(IDC_SMOOTHING_ANGLE, "30");
                      d.Choose(IDC_LOD_SOURCE, "Choose Nth");
                      d.Type(IDC_LOD_LEVEL, "0");
                      d.Choose(IDC_LOD_SOURCE, "Choose first");  // greyed, and still tested
                      d.PressOk();
                      EXPECT_EQ(d.Focus(), IDC_LOD_LEVEL);
                      EXPECT_FLOAT_EQ(Options().smoothing_angle, 30.0f);  // passed tests stay stored
                      d.Choose(IDC_LOD_SOURCE, "Choose Nth");
                      d.Type(IDC_LOD_LEVEL, "3");
                      d.Click(IDC_SAVE_DIR_SPECIFIC);  // without browsing
                      d.PressOk();
                      d.Click(IDC_SAVE_DIR_SAME);
                      d.Type(IDC_WELD_VERTICES_THRESHOLD, "0.5");
                      d.Type(IDC_WELD_TEXCOORDS_THRESHOLD, "0");
                      d.PressOk();
                      EXPECT_EQ(d.Focus(), IDC_WELD_TEXCOORDS_THRESHOLD);
                      EXPECT_FLOAT_EQ(Options().WeldVerticesThreshold, 0.5f);
                      d.Type(IDC_WELD_TEXCOORDS_THRESHOLD, "abc");
                      d.PressOk();
                      d.Type(IDC_WELD_TEXCOORDS_THRESHOLD, "0.25");
                      d.Click(IDC_MERGE_POLYGONS);
                      d.Type(IDC_MERGE_COPLANAR_ANGLE, "-1");
                      d.PressOk();
                      EXPECT_EQ(d.Focus(), IDC_MERGE_COPLANAR_ANGLE);
                      d.Type(IDC_MERGE_COPLANAR_ANGLE, "2");
                      d.PressOk();
                    },
                    Reply(IDOK), Reply(IDOK), Reply(IDOK), Reply(IDOK), Reply(IDOK), Reply(IDOK)};
  EXPECT_EQ(ShowOptions(user), 1);
  EXPECT_EQ(Messages(), (MessageList{
                            {"Invalid Smoothing Angle", "The smoothing angle must be between 0 and 180 degrees."},
                            {"Runtime Option Error", "The LOD number must be greater than 0"},
                            {"Invalid Option", "Invalid textures directory"},
                            {"Error", "The vertex texture coordinate welding threshold must be greater than 0."},
                            {"Invalid Number", "\"abc\" is not a number.\n\nPlease type a number into the field."},
                            {"Error", "The co-plaar angle must be greater than or equal to 0.0."},
                        }));
  EXPECT_EQ(win32::MessageBoxLog()[2].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
  EXPECT_EQ(StoredValue("smoothing_angle"), "30");
  EXPECT_EQ(StoredValue("nthlod"), "3");
  EXPECT_EQ(StoredValue("WeldTexCoordsThreshold"), "0.25");
  EXPECT_EQ(StoredValue("MergePolygonsCoplanarAngle"), "2");
}

TEST_F(OptionsDialog, CancelKeepsClicksInMemoryButNotInTheFile) {
  ASSERT_EQ(SaveImportConvertOptions_Inventor(PreferencesPath().c_str()), 0);
  ScriptedUser user{[](DialogDriver &d) {
    d.Click(IDC_IMPORT_LIGHTS);
    d.Click(IDC_FLIP_Y_UP);
    d.Type(IDC_SMOOTHING_ANGLE, "10");  // typed numbers are only read on OK
    d.PressEscape();
  }};
  EXPECT_EQ(ShowOptions(user), 0);
  EXPECT_EQ(Options().import_lights, 0);
  EXPECT_EQ(Options().flip_y_up, 1);
  EXPECT_FLOAT_EQ(Options().smoothing_angle, 45.0f);
  EXPECT_EQ(StoredValue("import_lights"), "1");
}

TEST_F(OptionsDialog, ResetAsksFirstThenRestoresTheDefaults) {
  Import_IO_Copy_String(&Options().txtr_save_dir, "/x/");
  surf_attr_mod_operation[kAttrPhong] = kOpSetValue;
  surf_attr_mod_value[kAttrPhong] = 5;
  last_surf_attr_combo_selected = kAttrPhong;
  ScriptedUser user{[](DialogDriver &d) {
                      EXPECT_EQ(d.Text(IDC_SAVE_DIR), "/x/");
                      d.Click(IDC_IMPORT_LIGHTS);
                      d.Click(IDC_RESET_BUTTON);
                      EXPECT_FALSE(d.Checked(IDC_IMPORT_LIGHTS));
                      d.Click(IDC_RESET_BUTTON);
                      EXPECT_TRUE(d.Checked(IDC_IMPORT_LIGHTS));
                      EXPECT_EQ(d.Text(IDC_SAVE_DIR), "");
                      EXPECT_TRUE(d.Checked(IDC_SAVE_DIR_SAME));
                      EXPECT_EQ(d.SelectedItem(IDC_SURF_ATTR), "Ambient Coeff");
                      EXPECT_EQ(d.SelectedItem(IDC_SURF_ATTR_OPERATION), "Import unchanged");
                      d.PressCancel();
                    },
                    [](DialogDriver &d) {
                      EXPECT_EQ(d.MessageBoxType(), static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
                      d.Answer(IDNO);
                    },
                    Reply(IDYES)};
  EXPECT_EQ(ShowOptions(user), 0);
  EXPECT_EQ(Messages()[0], (std::pair<std::string, std::string>(
                               "Confirmation Request",
                               "This will reset the values of this dialog box to their power-up defaults.\n\n"
                               "Are you sure you want to do this?")));
  EXPECT_EQ(Options().txtr_save_dir, nullptr);
  const int16_t operations[] = {1, 6, 6, 3, 1, 1, 1, 1};
  const float values[] = {0.3f, 0.4f, 0.7f, 0.0f, 0.0f, 1.0f, 1.0f, 32.0f};
  for (int i = 0; i < kSurfaceAttributeCount; ++i) {
    EXPECT_EQ(surf_attr_mod_operation[i], operations[i]) << i;
    EXPECT_FLOAT_EQ(surf_attr_mod_value[i], values[i]) << i;
  }
}

// The options dialog and the about box close at the first step here: the
// second never runs, and the test that wrote it fails.
TEST_F(OptionsDialog, AScriptWithStepsLeftFailsTheTest) {
  ScriptedUser options{[](DialogDriver &d) { d.PressCancel(); }, [](DialogDriver &d) { d.PressOk(); }};
  EXPECT_NONFATAL_FAILURE(ShowOptions(options), "the dialog closed before the script ended");
  ScriptedUser about{[](DialogDriver &d) { d.PressOk(); }, [](DialogDriver &d) { d.PressOk(); }};
  EXPECT_NONFATAL_FAILURE(ShowAbout(about), "the box closed before the script ended");
}
