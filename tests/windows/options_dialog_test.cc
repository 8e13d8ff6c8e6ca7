// The options dialog from the compiled template on the real dialog
// manager, owned by a window of the host's thread sent as "parent_hWnd",
// and worked through window messages as a user would. Controls are named
// by the ids of the dialog's description (described_ids.h).
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tests/windows/described_ids.h"
#include "tests/windows/dialog_user.h"
#include "tests/windows/plugin_dll.h"
#include "tests/windows/test_host.h"

namespace {

using namespace windows_test;
using namespace described;
using Strings = std::vector<std::string>;

const char kTitle[] = "Inventor2.x and VRML1 Geometry Import Plug-In";

class OptionsDialog : public testing::Test {
 protected:
  void SetUp() override {
    Send({"initialize"}, {Value(support_.path())});
  }
  void TearDown() override { SetFileAttributesA(PreferencesPath().c_str(), FILE_ATTRIBUTE_NORMAL); }

  int32_t Show(const std::function<void(HWND)> &act) { return RunDialog("show_options_dialog", kTitle, act); }
  std::string PreferencesPath() const { return support_.path() + "vorlix.ini"; }
  std::string Preferences() const { return support_.Read("vorlix.ini"); }
  void WritePreferences(const std::string &text) const {
    std::ofstream(PreferencesPath(), std::ios::binary) << text;
  }

  // A message box the dialog owns, with that title and text, answered.
  static void ExpectMessage(HWND dialog, const char *title, const std::string &text, int answer = IDOK) {
    HWND box = WaitForMessageBox(dialog, title);
    ASSERT_NE(box, nullptr) << "no message box \"" << title << "\"";
    EXPECT_EQ(MessageText(box), text);
    Answer(box, answer);
    ASSERT_TRUE(WaitUntilClosed(box));
    Settle(dialog);
  }

  TestHost session_;
  HostWindow host_;
  SupportDirectory support_;
};

bool Holds(const std::string &preferences, const std::string &line) {
  return preferences.find(line + "\r\n") != std::string::npos;
}

// Every control as the dialog opens with the option defaults: no
// preferences file, so nothing overrides them. The numbers are shown as the
// import support library formats them.
TEST_F(OptionsDialog, OpensOwnedByTheHostWithEveryDefault) {
  ASSERT_EQ(GetFileAttributesA(PreferencesPath().c_str()), INVALID_FILE_ATTRIBUTES);
  HWND owner = host_.handle();
  int32_t result = Show([owner](HWND dialog) {
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner);
    EXPECT_FALSE(IsWindowEnabled(owner));  // modal to the host's window
    for (int id : {kPrintStats, kOptimizeHierarchy1, kOptimizeHierarchy2, kWeldVertices, kWeldTexCoords,
                   kWeldVertexColors, kWeldNormals, kQuadsOnly, kLoadTextures, kDisplayTextures, kConfirmOverwrite,
                   kSaveDirSame, kImportLights, kImportCameras, kImportMaterials, kImportTextureReferences,
                   kImportVertexNormals, kImportUvCoordinates, kImportVertexColors}) {
      EXPECT_TRUE(Checked(dialog, id)) << id;
    }
    for (int id : {kSmoothNormals, kFlipYUp, kCameraHeadlight, kQuickNaming, kOptimizeObjects, kMergePolygons,
                   kSaveDirSpecific, kRefDirStrip, kRefDirSpecific, kAlphaInvert}) {
      EXPECT_FALSE(Checked(dialog, id)) << id;
    }
    EXPECT_EQ(Text(dialog, kSmoothingAngle), "45");
    EXPECT_EQ(Text(dialog, kLodLevel), "1");
    for (int id : {kWeldVerticesThreshold, kWeldTexCoordsThreshold, kWeldVertexColorsThreshold,
                   kWeldNormalsThreshold}) {
      EXPECT_EQ(Text(dialog, id), "0.0001") << id;
    }
    EXPECT_EQ(Text(dialog, kCoplanarAngle), "0.1");
    EXPECT_EQ(Text(dialog, kSaveDir), "");
    EXPECT_EQ(Text(dialog, kRefDir), "");

    EXPECT_EQ(Items(dialog, kTransparencySource),
              (Strings{"Follow Inventor specification", "Material transparency", "Alpha value from texture map"}));
    EXPECT_EQ(SelectedItem(dialog, kTransparencySource), "Follow Inventor specification");
    EXPECT_EQ(Items(dialog, kLodSource), (Strings{"Choose first", "Choose last", "Choose Nth"}));
    EXPECT_EQ(SelectedItem(dialog, kLodSource), "Choose first");
    EXPECT_EQ(Items(dialog, kAlphaSource), (Strings{"Alpha channel from image", "Chroma key: upper left",
                                                    "Chroma key: lower left", "Alpha chan always opaque"}));
    EXPECT_EQ(SelectedItem(dialog, kAlphaSource), "Alpha channel from image");
    EXPECT_EQ(Items(dialog, kShadingAttribute),
              (Strings{"Ambient Coeff", "Diffuse Coeff", "Specular Coeff", "Luminous Coeff", "Reflection Coeff",
                       "Opacity", "IOR", "Phong Shininess"}));
    EXPECT_EQ(SelectedItem(dialog, kShadingAttribute), "Ambient Coeff");
    EXPECT_EQ(Items(dialog, kShadingOperation),
              (Strings{"Do not import", "Import unchanged", "Set and use default", "Set to specific value",
                       "Import and crop by", "Import and scale by", "Normalize color & coeff"}));
    EXPECT_EQ(SelectedItem(dialog, kShadingOperation), "Import unchanged");
    EXPECT_FALSE(Visible(dialog, kShadingValue));

    // Greyed by the rules: LOD level (not "Choose Nth"), merging's own
    // controls (merging off); welding and texture controls are live.
    for (int id : {kLodLevel, kLodLevelLabel, kQuadsOnly, kCoplanarAngle, kCoplanarAngleLabel}) {
      EXPECT_FALSE(Enabled(dialog, id)) << id;
    }
    for (int id : {kDisplayTextures, kSaveDirLabel, kSaveDirSame, kSaveDirSpecific, kSaveDir, kSaveDirBrowse,
                   kConfirmOverwrite, kRefDirStrip, kRefDirSpecific, kRefDir, kRefDirBrowse, kAlphaSource,
                   kAlphaInvert, kAlphaSourceLabel}) {
      EXPECT_TRUE(Enabled(dialog, id)) << id;
    }
    for (int id = kWeldTexCoords; id <= kWeldNormalsThreshold; ++id) EXPECT_TRUE(Enabled(dialog, id)) << id;
    PressCloseBox(dialog);
  });
  EXPECT_EQ(result, 0);
  EXPECT_TRUE(IsWindowEnabled(owner));
}

// OK writes the file as a Windows text file: every line ends in CRLF.
TEST_F(OptionsDialog, OkStoresWhatWasChangedInThePreferencesFile) {
  int32_t result = Show([](HWND dialog) {
    Click(dialog, kImportLights);
    EXPECT_FALSE(Checked(dialog, kImportLights));
    Click(dialog, kFlipYUp);
    Type(dialog, kWeldVerticesThreshold, "0.25");
    Choose(dialog, kLodSource, 2);
    EXPECT_TRUE(Enabled(dialog, kLodLevel));
    Type(dialog, kLodLevel, "3");
    Press(dialog, kOk);
  });
  EXPECT_EQ(result, 1);
  const std::string preferences = Preferences();
  EXPECT_TRUE(Holds(preferences, "import_lights = 0")) << preferences;
  EXPECT_TRUE(Holds(preferences, "flip_y_up = 1")) << preferences;
  EXPECT_TRUE(Holds(preferences, "WeldVerticesThreshold = 0.25")) << preferences;
  EXPECT_TRUE(Holds(preferences, "lod_source = 2")) << preferences;
  EXPECT_TRUE(Holds(preferences, "nthlod = 3")) << preferences;
  size_t lines = 0;
  for (size_t at = preferences.find('\n'); at != std::string::npos; at = preferences.find('\n', at + 1)) {
    ++lines;
    EXPECT_TRUE(at > 0 && preferences[at - 1] == '\r') << "a line ends without CR at byte " << at;
  }
  EXPECT_EQ(lines, 60u);
  EXPECT_EQ(preferences.back(), '\n');
}

// Escape and the close box write nothing, and what was clicked before
// stays in the options for as long as they live.
TEST_F(OptionsDialog, EscapeAndTheCloseBoxCancelKeepingTheClicks) {
  EXPECT_EQ(Show([](HWND dialog) {
              Click(dialog, kImportLights);
              PressEscape(dialog);
            }),
            0);
  EXPECT_EQ(Show([](HWND dialog) {
              EXPECT_FALSE(Checked(dialog, kImportLights));
              Click(dialog, kImportCameras);
              PressCloseBox(dialog);
            }),
            0);
  EXPECT_EQ(GetFileAttributesA(PreferencesPath().c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(Show([](HWND dialog) {
              EXPECT_FALSE(Checked(dialog, kImportLights));
              EXPECT_FALSE(Checked(dialog, kImportCameras));
              Press(dialog, kOk);
            }),
            1);
  EXPECT_TRUE(Holds(Preferences(), "import_lights = 0")) << Preferences();
  EXPECT_TRUE(Holds(Preferences(), "import_cameras = 0")) << Preferences();
}

// A list's choice stays after Cancel too; a typed number is taken by OK only.
TEST_F(OptionsDialog, ChoicesSurviveCancelAndTypedNumbersDoNot) {
  EXPECT_EQ(Show([](HWND dialog) {
              Choose(dialog, kAlphaSource, 3);
              Type(dialog, kWeldNormalsThreshold, "0.5");
              PressEscape(dialog);
            }),
            0);
  EXPECT_EQ(Show([](HWND dialog) {
              EXPECT_EQ(SelectedItem(dialog, kAlphaSource), "Alpha chan always opaque");
              EXPECT_EQ(Text(dialog, kWeldNormalsThreshold), "0.0001");
              PressEscape(dialog);
            }),
            0);
}

// "initialize" reads the file whichever line ends it has.
class ReadingPreferences : public OptionsDialog, public testing::WithParamInterface<const char *> {};

TEST_P(ReadingPreferences, InitializeReadsTheStoredOptions) {
  const std::string end = GetParam();
  WritePreferences("# Default options for the Inventor geometry import converter." + end + "[Preferences]" + end +
                   "import_lights = 0" + end + "txtr_save_dir = C:\\textures\\" + end + "WeldNormalsThreshold = 0.25" +
                   end + "last-surf-attr-combo-selected = 7" + end + "surf-attr-mod-phong-operation = 3" + end +
                   "surf-attr-mod-phong-value = 64.000000" + end + "lod_source = 2" + end + "nthlod = 4" + end);
  Send({"initialize"}, {Value(support_.path())});
  int32_t result = Show([](HWND dialog) {
    EXPECT_FALSE(Checked(dialog, kImportLights));
    EXPECT_TRUE(Checked(dialog, kSaveDirSpecific));
    EXPECT_EQ(Text(dialog, kSaveDir), "C:\\textures\\");
    EXPECT_EQ(Text(dialog, kWeldNormalsThreshold), "0.25");
    EXPECT_EQ(SelectedItem(dialog, kShadingAttribute), "Phong Shininess");
    EXPECT_EQ(SelectedItem(dialog, kShadingOperation), "Set to specific value");
    EXPECT_EQ(Text(dialog, kShadingValue), "64");
    EXPECT_EQ(SelectedItem(dialog, kLodSource), "Choose Nth");
    EXPECT_EQ(Text(dialog, kLodLevel), "4");
    EXPECT_TRUE(Enabled(dialog, kLodLevel));
    PressEscape(dialog);
  });
  EXPECT_EQ(result, 0);
}

INSTANTIATE_TEST_SUITE_P(LineEnds, ReadingPreferences, testing::Values("\r\n", "\n"),
                         [](const testing::TestParamInfo<const char *> &info) {
                           return std::string(info.param) == "\n" ? "Lf" : "CrLf";
                         });

TEST_F(OptionsDialog, HelpShowsItsTopicAndKeepsTheDialogOpen) {
  const std::string topic = "Help was asked for: topic \"main\" of \"" + support_.path() +
                            "vorlix.hlp\".\n\nThis host has no help viewer, so the help file is not shown.";
  int32_t result = Show([&](HWND dialog) {
    Press(dialog, kHelp);
    ExpectMessage(dialog, "Help", topic);
    EXPECT_TRUE(IsWindowVisible(dialog));
    PressEscape(dialog);
  });
  EXPECT_EQ(result, 0);
}

TEST_F(OptionsDialog, ResetAsksFirstAndThenRestoresTheDefaults) {
  const std::string question =
      "This will reset the values of this dialog box to their power-up defaults.\n\nAre you sure you want to do this?";
  int32_t result = Show([&](HWND dialog) {
    Click(dialog, kImportLights);
    Choose(dialog, kLodSource, 2);
    Press(dialog, kReset);
    HWND box = WaitForMessageBox(dialog, "Confirmation Request");
    ASSERT_NE(box, nullptr);
    EXPECT_NE(GetDlgItem(box, IDYES), nullptr);
    EXPECT_NE(GetDlgItem(box, IDNO), nullptr);
    EXPECT_EQ(MessageIcon(box), LoadIcon(nullptr, IDI_QUESTION));
    EXPECT_EQ(MessageText(box), question);
    Answer(box, IDNO);
    ASSERT_TRUE(WaitUntilClosed(box));
    Settle(dialog);
    EXPECT_FALSE(Checked(dialog, kImportLights));

    Press(dialog, kReset);
    ExpectMessage(dialog, "Confirmation Request", question, IDYES);
    EXPECT_TRUE(Checked(dialog, kImportLights));
    EXPECT_EQ(SelectedItem(dialog, kLodSource), "Choose first");
    EXPECT_FALSE(Enabled(dialog, kLodLevel));
    Press(dialog, kOk);
  });
  EXPECT_EQ(result, 1);
  EXPECT_TRUE(Holds(Preferences(), "import_lights = 1")) << Preferences();
  EXPECT_TRUE(Holds(Preferences(), "lod_source = 0")) << Preferences();
}

// The about box opens over the options dialog, modal to it; closing it
// gives the options dialog back and leaves the host's window disabled
// while the options dialog is still up.
TEST_F(OptionsDialog, AboutOpensTheAboutBoxOverTheDialog) {
  HWND owner = host_.handle();
  int32_t result = Show([owner](HWND dialog) {
    Press(dialog, kAbout);
    HWND about = WaitForMessageBox(dialog, "About the Inventor Geometry Import Plug-In");
    ASSERT_NE(about, nullptr) << "no about box owned by the options dialog";
    EXPECT_FALSE(IsWindowEnabled(dialog));
    Press(about, kOk);
    ASSERT_TRUE(WaitUntilClosed(about));
    Settle(dialog);
    EXPECT_TRUE(IsWindowEnabled(dialog));
    EXPECT_FALSE(IsWindowEnabled(owner));
    PressEscape(dialog);
  });
  EXPECT_EQ(result, 0);
}

TEST_F(OptionsDialog, ASpecificTexturesDirectoryMustBeChosen) {
  int32_t result = Show([this](HWND dialog) {
    Click(dialog, kSaveDirSpecific);
    Press(dialog, kOk);
    HWND box = WaitForMessageBox(dialog, "Invalid Option");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageText(box), "Invalid textures directory");
    EXPECT_EQ(MessageIcon(box), LoadIcon(nullptr, IDI_EXCLAMATION));
    Acknowledge(box);
    ASSERT_TRUE(WaitUntilClosed(box));
    EXPECT_TRUE(Preferences().empty());
    Click(dialog, kSaveDirSame);
    Press(dialog, kOk);
  });
  EXPECT_EQ(result, 1);
  EXPECT_TRUE(Holds(Preferences(), "txtr_save_dir_same = 1")) << Preferences();
}

// The level is tested whether or not "Choose Nth" is selected.
TEST_F(OptionsDialog, ALevelBelowOneIsRefused) {
  int32_t result = Show([](HWND dialog) {
    Choose(dialog, kLodSource, 2);
    Type(dialog, kLodLevel, "0");
    Choose(dialog, kLodSource, 0);
    Press(dialog, kOk);
    ExpectMessage(dialog, "Runtime Option Error", "The LOD number must be greater than 0");
    Choose(dialog, kLodSource, 2);
    Type(dialog, kLodLevel, "2");
    Press(dialog, kOk);
  });
  EXPECT_EQ(result, 1);
  EXPECT_TRUE(Holds(Preferences(), "nthlod = 2")) << Preferences();
}

TEST_F(OptionsDialog, AThresholdOfZeroIsRefused) {
  int32_t result = Show([this](HWND dialog) {
    Type(dialog, kWeldVertexColorsThreshold, "0");
    Press(dialog, kOk);
    ExpectMessage(dialog, "Error", "The vertex colors welding threshold must be greater than 0.");
    EXPECT_TRUE(Preferences().empty());
    Type(dialog, kWeldVertexColorsThreshold, "0.001");
    Press(dialog, kOk);
  });
  EXPECT_EQ(result, 1);
  EXPECT_TRUE(Holds(Preferences(), "WeldVertexColorsThreshold = 0.001")) << Preferences();
}

TEST_F(OptionsDialog, ShadingValuesOutsideTheirRangeAreRefused) {
  int32_t result = Show([](HWND dialog) {
    Choose(dialog, kShadingAttribute, 1);  // Diffuse Coeff
    Choose(dialog, kShadingOperation, 3);  // Set to specific value
    Type(dialog, kShadingValue, "1.5");
    Select(dialog, kShadingAttribute, 2);  // refused with a message box
    ExpectMessage(dialog, "Parameter Error",
                  "The surface attribute numeric value is too large.\n\nMaximum value should be 1.000000.");
    EXPECT_EQ(SelectedItem(dialog, kShadingAttribute), "Diffuse Coeff");
    Choose(dialog, kShadingOperation, 5);  // Import and scale by
    Type(dialog, kShadingValue, "0");
    Press(dialog, kOk);
    ExpectMessage(dialog, "Parameter Error",
                  "The surface attribute numeric value must be greater than 0.0 when the 'Scale' operation is "
                  "enabled.");
    Choose(dialog, kShadingOperation, 4);  // Import and crop by
    Type(dialog, kShadingValue, "-1");
    Press(dialog, kOk);
    ExpectMessage(dialog, "Parameter Error",
                  "The surface attribute numeric value is too small.\n\nMinimum value should be 0.000000.");
    PressEscape(dialog);
  });
  EXPECT_EQ(result, 0);
}

// A host whose thread runs in a comma-decimal locale: the file still has
// points, and its points are still read.
TEST_F(OptionsDialog, ThePreferencesFileKeepsItsPointsInAGermanLocale) {
  WritePreferences("WeldNormalsThreshold = 0.25\r\nsurf-attr-mod-ior-value = 2.5\r\n");
  ASSERT_NE(std::setlocale(LC_ALL, "German"), nullptr);
  char probe[16];
  std::snprintf(probe, sizeof probe, "%g", 0.5);
  EXPECT_STREQ(probe, "0,5");  // the locale is in force
  Send({"initialize"}, {Value(support_.path())});
  int32_t result = Show([](HWND dialog) { Press(dialog, kOk); });
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(result, 1);
  const std::string preferences = Preferences();
  EXPECT_TRUE(Holds(preferences, "WeldNormalsThreshold = 0.25")) << preferences;
  EXPECT_TRUE(Holds(preferences, "WeldVerticesThreshold = 0.0001")) << preferences;
  EXPECT_TRUE(Holds(preferences, "surf-attr-mod-ior-value = 2.500000")) << preferences;
}

// A read-only file refuses to be opened for writing: it stays, and the
// report names it in the platform's own path form.
TEST_F(OptionsDialog, AReadOnlyPreferencesFileIsReportedAndKept) {
  WritePreferences("import_lights = 0\r\n");
  ASSERT_TRUE(SetFileAttributesA(PreferencesPath().c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(Show([](HWND dialog) { Press(dialog, kOk); }), 1);
  EXPECT_EQ(Preferences(), "import_lights = 0\r\n");
  auto reports = session_->journal().calls("Kv_Report_Error");
  ASSERT_EQ(reports.size(), 1u);
  Strings texts;
  for (const auto &item : reports[0]->items) texts.push_back(item.text);
  EXPECT_EQ(texts, (Strings{"", "OUTERR_FILE_OPEN_WRITE", "SaveImportConvertOptions_Inventor()", "Inventor .INI",
                            PreferencesPath()}));
}

// A host thread in the multithreaded apartment: the folder browser must
// not end the host's COM on its way out.
TEST_F(OptionsDialog, TheDirectoryChooserLeavesTheHostsComAsItWas) {
  ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
  int32_t result = Show([](HWND dialog) {
    Press(dialog, kSaveDirBrowse);
    HWND browser = WaitForOwnedDialog(dialog);
    ASSERT_NE(browser, nullptr) << "no folder browser";
    Answer(browser, IDCANCEL);
    ASSERT_TRUE(WaitUntilClosed(browser));
    PressEscape(dialog);
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE) << "the thread's COM was ended";
  CoUninitialize();
  CoUninitialize();
}

}  // namespace
