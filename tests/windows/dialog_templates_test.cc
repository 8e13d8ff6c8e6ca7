// The dialog templates compiled into the plug-in DLL, read back from its
// resources and compared with the dialogs' description: every control's
// id, kind and text, the caption, font and size, and the layout the
// description gives (two columns of groups, a banner on top, the buttons
// in one row along the bottom). The description leaves each control's
// exact position and size open: those columns of the tables below are
// taken from options/inventor_import.rc, so that a change to them is seen.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/windows/described_ids.h"
#include "tests/windows/dialog_template.h"
#include "tests/windows/plugin_dll.h"

namespace {

using namespace described;
using windows_test::CompiledControl;
using windows_test::CompiledDialog;

enum class Kind {
  kCheck,         // plain check box: the dialog procedure sets its mark
  kAutoCheck,     // automatic check box
  kRadio,         // radio button the dialog procedure sets
  kPush,
  kDefaultPush,
  kGroup,
  kEdit,
  kReadOnlyEdit,
  kDropList,      // drop-down list without an edit field
  kLabel,         // left-aligned text
  kCentredText,
  kFrame,         // sunken frame around a banner or the about box's texts
  kOther,
};

// Where a control of the options dialog sits in the description's layout.
enum class Place { kBanner, kImportOptions, kWelding, kTextures, kLoading, kButtonRow, kAbout };

struct DescribedControl {
  int id;
  Kind kind;
  const char *text;
  Place place;
  int x, y, width, height;  // from the resource script: the description leaves them open
};

const DescribedControl kOptionsControls[] = {
    {kStatic, Kind::kFrame, "", Place::kBanner, 7, 4, 450, 26},
    {kStatic, Kind::kLabel,
     "This filter imports from Inventor2 && VRML1 files: geometry, hierarchy, lights, cameras, materials, textures "
     "and embedded texture images.",
     Place::kBanner, 12, 9, 440, 16},
    {kStatic, Kind::kGroup, "Inventor Import Options", Place::kImportOptions, 7, 34, 228, 160},
    {kSmoothNormals, Kind::kCheck, "Override vertex normal smoothing, angle = ", Place::kImportOptions, 14, 46, 160, 10},
    {kSmoothingAngle, Kind::kEdit, "", Place::kImportOptions, 178, 45, 40, 12},
    {kFlipYUp, Kind::kCheck, "Flip model so that 'Y' axis is 'Up'", Place::kImportOptions, 14, 60, 200, 10},
    {kCameraHeadlight, Kind::kCheck, "Create one \"head light\" per imported camera", Place::kImportOptions, 14, 72,
     200, 10},
    {kQuickNaming, Kind::kCheck, "Use quick naming", Place::kImportOptions, 14, 84, 100, 10},
    {kPrintStats, Kind::kCheck, "Report statistics", Place::kImportOptions, 120, 84, 100, 10},
    {kStatic, Kind::kLabel, "Transparency source:", Place::kImportOptions, 14, 99, 76, 8},
    {kTransparencySource, Kind::kDropList, "", Place::kImportOptions, 92, 97, 124, 60},
    {kStatic, Kind::kLabel, "Level-of-Detail Selection:", Place::kImportOptions, 14, 115, 96, 8},
    {kLodSource, Kind::kDropList, "", Place::kImportOptions, 112, 113, 56, 60},
    {kLodLevelLabel, Kind::kLabel, "Level:", Place::kImportOptions, 172, 115, 22, 8},
    {kLodLevel, Kind::kEdit, "", Place::kImportOptions, 196, 113, 30, 12},
    {kOptimizeHierarchy1, Kind::kCheck, "Hierarchy optimizer # 1", Place::kImportOptions, 14, 130, 100, 10},
    {kOptimizeHierarchy2, Kind::kCheck, "Hierarchy optimizer # 2", Place::kImportOptions, 120, 130, 100, 10},
    {kOptimizeObjects, Kind::kCheck, "Compress && optimize number of objects", Place::kImportOptions, 14, 144, 150,
     10},
    {kObjectOptions, Kind::kPush, "Options...", Place::kImportOptions, 170, 142, 50, 14},
    {kStatic, Kind::kLabel, "Shading coefficient modifications:", Place::kImportOptions, 14, 162, 200, 8},
    {kShadingAttribute, Kind::kDropList, "", Place::kImportOptions, 14, 174, 76, 100},
    {kShadingOperation, Kind::kDropList, "", Place::kImportOptions, 92, 174, 104, 100},
    {kShadingValue, Kind::kEdit, "", Place::kImportOptions, 198, 174, 30, 12},

    {kStatic, Kind::kGroup, "Polygon Welding && Merging", Place::kWelding, 7, 198, 228, 104},
    {kWeldVertices, Kind::kCheck, "Weld vertices, threshold = ", Place::kWelding, 14, 210, 130, 10},
    {kWeldVerticesThreshold, Kind::kEdit, "", Place::kWelding, 150, 209, 50, 12},
    {kWeldTexCoords, Kind::kCheck, "Weld texture coords, threshold = ", Place::kWelding, 14, 224, 130, 10},
    {kWeldTexCoordsThreshold, Kind::kEdit, "", Place::kWelding, 150, 223, 50, 12},
    {kWeldVertexColors, Kind::kCheck, "Weld vertex colors, threshold = ", Place::kWelding, 14, 238, 130, 10},
    {kWeldVertexColorsThreshold, Kind::kEdit, "", Place::kWelding, 150, 237, 50, 12},
    {kWeldNormals, Kind::kCheck, "Weld normals, threshold = ", Place::kWelding, 14, 252, 130, 10},
    {kWeldNormalsThreshold, Kind::kEdit, "", Place::kWelding, 150, 251, 50, 12},
    {kMergePolygons, Kind::kCheck, "Merge triangles && co-planr polygons into larger polygons", Place::kWelding, 14,
     266, 214, 10},
    {kQuadsOnly, Kind::kCheck, "Make only quads", Place::kWelding, 24, 280, 70, 10},
    {kCoplanarAngle, Kind::kEdit, "", Place::kWelding, 98, 279, 30, 12},
    {kCoplanarAngleLabel, Kind::kLabel, "= co-planar angle (degrees)", Place::kWelding, 132, 281, 98, 8},

    {kStatic, Kind::kGroup, "Texture Map Extraction", Place::kTextures, 239, 34, 218, 184},
    {kLoadTextures, Kind::kAutoCheck, "Extract images from Inventor files as new texture maps", Place::kTextures, 246,
     46, 206, 10},
    {kDisplayTextures, Kind::kAutoCheck, "Display textures while extracting from geometry files", Place::kTextures,
     246, 58, 206, 10},
    {kSaveDirLabel, Kind::kLabel, "Location to store extracted textures:", Place::kTextures, 246, 72, 200, 8},
    {kSaveDirSame, Kind::kRadio, "Same location as imported Inventor file", Place::kTextures, 256, 84, 190, 10},
    {kSaveDirSpecific, Kind::kRadio, "In this specific directory:", Place::kTextures, 256, 96, 190, 10},
    {kSaveDir, Kind::kReadOnlyEdit, "", Place::kTextures, 266, 108, 132, 12},
    {kSaveDirBrowse, Kind::kPush, "&Browse", Place::kTextures, 402, 107, 48, 14},
    {kConfirmOverwrite, Kind::kAutoCheck, "Confirm possible texture file overwrite", Place::kTextures, 246, 124, 200,
     10},
    {kRefDirStrip, Kind::kAutoCheck, "Strip file path from all bitmap references", Place::kTextures, 246, 138, 200,
     10},
    {kRefDirSpecific, Kind::kAutoCheck, "Replace all texture file paths with this file path:", Place::kTextures, 246,
     150, 206, 10},
    {kRefDir, Kind::kReadOnlyEdit, "", Place::kTextures, 256, 164, 142, 12},
    {kRefDirBrowse, Kind::kPush, "B&rowse", Place::kTextures, 402, 163, 48, 14},
    {kAlphaSourceLabel, Kind::kLabel, "Alpha channel source:", Place::kTextures, 246, 186, 80, 8},
    {kAlphaSource, Kind::kDropList, "", Place::kTextures, 328, 184, 122, 60},
    {kAlphaInvert, Kind::kAutoCheck, "Invert alpha channel", Place::kTextures, 246, 200, 100, 10},

    {kStatic, Kind::kGroup, "Selective Loading", Place::kLoading, 239, 222, 218, 80},
    {kImportLights, Kind::kCheck, "Lights", Place::kLoading, 246, 236, 60, 10},
    {kImportCameras, Kind::kCheck, "Cameras", Place::kLoading, 310, 236, 60, 10},
    {kImportMaterials, Kind::kCheck, "Materials", Place::kLoading, 374, 236, 60, 10},
    {kImportTextureReferences, Kind::kCheck, "Texture references", Place::kLoading, 246, 252, 100, 10},
    {kImportVertexNormals, Kind::kCheck, "Vertex normals", Place::kLoading, 350, 252, 90, 10},
    {kImportUvCoordinates, Kind::kCheck, "Vertex uv txtr coords", Place::kLoading, 246, 268, 100, 10},
    {kImportVertexColors, Kind::kCheck, "Vertex colors", Place::kLoading, 350, 268, 90, 10},

    // The buttons in the description's order, left to right.
    {kOk, Kind::kDefaultPush, "&OK", Place::kButtonRow, 95, 308, 50, 14},
    {kCancel, Kind::kPush, "&Cancel", Place::kButtonRow, 151, 308, 50, 14},
    {kHelp, Kind::kPush, "&Help", Place::kButtonRow, 207, 308, 50, 14},
    {kReset, Kind::kPush, "&Reset", Place::kButtonRow, 263, 308, 50, 14},
    {kAbout, Kind::kPush, "&About...", Place::kButtonRow, 319, 308, 50, 14},
};

// The about box: the name line is given; the wording of the author,
// ownership, credit and trademark lines is ours (the resource script's).
const DescribedControl kAboutControls[] = {
    {kStatic, Kind::kFrame, "", Place::kAbout, 7, 7, 233, 112},
    {kStatic, Kind::kCentredText, "Inventor Geometry Import Filter", Place::kAbout, 12, 13, 223, 8},
    {kStatic, Kind::kCentredText, "Written by the Kavrel developers", Place::kAbout, 12, 25, 223, 8},
    {kStatic, Kind::kCentredText, "Copyright (C) 2026 the Kavrel developers.", Place::kAbout, 12, 39, 223, 8},
    {kStatic, Kind::kCentredText, "All rights reserved.", Place::kAbout, 12, 49, 223, 8},
    {kStatic, Kind::kCentredText,
     "This software is based in part on the Coin3D library (https://coin3d.github.io), Copyright (C) the Coin3D "
     "team, used under the terms of its BSD 3-clause licence.",
     Place::kAbout, 12, 63, 223, 34},
    {kStatic, Kind::kCentredText, "Open Inventor is a trademark of its owner.", Place::kAbout, 12, 103, 223, 8},
    {kOk, Kind::kDefaultPush, "&OK", Place::kButtonRow, 66, 126, 50, 14},
    {kHelp, Kind::kPush, "&Help", Place::kButtonRow, 130, 126, 50, 14},
};

Kind KindOf(const CompiledControl &c) {
  if (c.window_class == "Button") {
    switch (c.style & BS_TYPEMASK) {
      case BS_PUSHBUTTON: return Kind::kPush;
      case BS_DEFPUSHBUTTON: return Kind::kDefaultPush;
      case BS_CHECKBOX: return Kind::kCheck;
      case BS_AUTOCHECKBOX: return Kind::kAutoCheck;
      case BS_RADIOBUTTON: return Kind::kRadio;
      case BS_GROUPBOX: return Kind::kGroup;
      default: return Kind::kOther;
    }
  }
  if (c.window_class == "Edit") return (c.style & ES_READONLY) ? Kind::kReadOnlyEdit : Kind::kEdit;
  if (c.window_class == "ComboBox") return (c.style & 3) == CBS_DROPDOWNLIST ? Kind::kDropList : Kind::kOther;
  if (c.window_class == "Static") {
    if (c.style & SS_SUNKEN) return Kind::kFrame;
    switch (c.style & SS_TYPEMASK) {
      case SS_LEFT: return Kind::kLabel;
      case SS_CENTER: return Kind::kCentredText;
      default: return Kind::kOther;
    }
  }
  return Kind::kOther;
}

// The compiled control a described one stands for: by id, or by kind and
// text for controls without an id.
const CompiledControl *Find(const CompiledDialog &dialog, const DescribedControl &described) {
  for (const CompiledControl &c : dialog.controls) {
    if (c.id != described.id) continue;
    if (described.id != kStatic || (KindOf(c) == described.kind && c.text == described.text)) return &c;
  }
  return nullptr;
}

template <size_t N>
void ExpectControls(const CompiledDialog &dialog, const DescribedControl (&described)[N]) {
  EXPECT_EQ(dialog.controls.size(), N);
  for (const DescribedControl &d : described) {
    SCOPED_TRACE(std::to_string(d.id) + " \"" + d.text + "\"");
    const CompiledControl *c = Find(dialog, d);
    ASSERT_NE(c, nullptr) << "missing";
    EXPECT_EQ(KindOf(*c), d.kind);
    EXPECT_EQ(c->text, d.text);
    EXPECT_EQ(std::vector<int>({c->x, c->y, c->width, c->height}), std::vector<int>({d.x, d.y, d.width, d.height}));
    EXPECT_TRUE(c->style & WS_VISIBLE);
  }
}

// The compiled rectangle of a described control as it shows: left, top,
// right, bottom. A drop-down list's height in the template is that of its
// open list; closed it is one line high, like an edit field.
std::vector<int> Box(const CompiledDialog &dialog, const DescribedControl &d) {
  const CompiledControl *c = Find(dialog, d);
  if (c == nullptr) return {0, 0, 0, 0};
  const int height = d.kind == Kind::kDropList ? 12 : c->height;
  return {c->x, c->y, c->x + c->width, c->y + height};
}

// The group box (or banner frame) that holds the controls of a place.
std::vector<int> Frame(const CompiledDialog &dialog, Place place) {
  for (const DescribedControl &d : kOptionsControls) {
    if (d.place == place && (d.kind == Kind::kGroup || d.kind == Kind::kFrame)) return Box(dialog, d);
  }
  return {0, 0, 0, 0};
}

bool Inside(const std::vector<int> &inner, const std::vector<int> &outer) {
  return inner[0] >= outer[0] && inner[1] >= outer[1] && inner[2] <= outer[2] && inner[3] <= outer[3];
}

class DialogTemplates : public testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(ReadCompiledDialog(windows_test::PluginModule(), "OptionsDialog", &options_, &error)) << error;
    ASSERT_TRUE(ReadCompiledDialog(windows_test::PluginModule(), "AboutBox", &about_, &error)) << error;
  }

  CompiledDialog options_, about_;
};

TEST_F(DialogTemplates, OptionsDialogHasItsCaptionFontAndSize) {
  EXPECT_EQ(options_.caption, "Inventor2.x and VRML1 Geometry Import Plug-In");
  EXPECT_EQ(options_.font, "Helv");
  EXPECT_EQ(options_.point_size, 8);
  EXPECT_EQ(options_.width, 464);
  EXPECT_EQ(options_.height, 327);
  // A modal box with a title bar and its close button.
  EXPECT_EQ(options_.style & (WS_POPUP | WS_CAPTION | WS_SYSMENU), DWORD{WS_POPUP | WS_CAPTION | WS_SYSMENU});
}

TEST_F(DialogTemplates, OptionsDialogHoldsEveryDescribedControl) { ExpectControls(options_, kOptionsControls); }

TEST_F(DialogTemplates, OptionsDialogIsLaidOutAsDescribed) {
  const std::vector<int> dialog = {0, 0, options_.width, options_.height};
  const std::vector<int> banner = Frame(options_, Place::kBanner), import = Frame(options_, Place::kImportOptions),
                         welding = Frame(options_, Place::kWelding), textures = Frame(options_, Place::kTextures),
                         loading = Frame(options_, Place::kLoading);
  // A banner across the top; two columns of two groups below it.
  EXPECT_LE(banner[3], std::min(import[1], textures[1]));
  EXPECT_LE(import[3], welding[1]);
  EXPECT_LE(textures[3], loading[1]);
  EXPECT_LE(std::max(import[2], welding[2]), std::min(textures[0], loading[0]));
  int previous_right = -1, row = -1;
  for (const DescribedControl &d : kOptionsControls) {
    SCOPED_TRACE(std::to_string(d.id) + " \"" + d.text + "\"");
    const std::vector<int> box = Box(options_, d);
    EXPECT_TRUE(Inside(box, dialog));
    if (d.place != Place::kButtonRow) {
      EXPECT_TRUE(Inside(box, Frame(options_, d.place)));
      continue;
    }
    // One row under everything else, in the order of the description.
    EXPECT_GE(box[1], std::max(welding[3], loading[3]));
    EXPECT_TRUE(row == -1 || box[1] == row);
    EXPECT_GT(box[0], previous_right);
    row = box[1];
    previous_right = box[2];
  }
}

TEST_F(DialogTemplates, AboutBoxIsAsDescribed) {
  EXPECT_EQ(about_.caption, "About the Inventor Geometry Import Plug-In");
  EXPECT_EQ(about_.font, "HELV");
  EXPECT_EQ(about_.point_size, 8);
  EXPECT_EQ(about_.width, 247);
  EXPECT_EQ(about_.height, 148);
  EXPECT_EQ(about_.style & (WS_POPUP | WS_CAPTION | WS_SYSMENU), DWORD{WS_POPUP | WS_CAPTION | WS_SYSMENU});
  ExpectControls(about_, kAboutControls);
  // The texts inside the frame, the two buttons side by side below it.
  const std::vector<int> frame = Box(about_, kAboutControls[0]);
  const std::vector<int> ok = Box(about_, kAboutControls[7]), help = Box(about_, kAboutControls[8]);
  for (size_t i = 1; i < 7; ++i) EXPECT_TRUE(Inside(Box(about_, kAboutControls[i]), frame)) << i;
  EXPECT_GE(ok[1], frame[3]);
  EXPECT_EQ(ok[1], help[1]);
  EXPECT_LE(ok[2], help[0]);
}

}  // namespace
