#include <gtest/gtest.h>

#include "options/resource.h"
#include "plugin/plugin_module.h"
#include "win32/resource_script.h"

using win32::ControlKind;

namespace {

struct Expected {
  int id;
  ControlKind kind;
  const char *text;  // null for edits and lists
  bool automatic;
};

constexpr ControlKind kCheck = ControlKind::kCheckBox;
constexpr ControlKind kEdit = ControlKind::kEdit;
constexpr ControlKind kList = ControlKind::kComboBox;
constexpr ControlKind kButton = ControlKind::kPushButton;
constexpr ControlKind kLabel = ControlKind::kStatic;
constexpr ControlKind kRadio = ControlKind::kRadioButton;

const Expected kOptionsControls[] = {
    {154, kCheck, "Override vertex normal smoothing, angle = ", false},
    {155, kEdit, nullptr, false},
    {142, kCheck, "Flip model so that 'Y' axis is 'Up'", false},
    {143, kCheck, "Create one \"head light\" per imported camera", false},
    {144, kCheck, "Use quick naming", false},
    {107, kCheck, "Report statistics", false},
    {135, kList, nullptr, false},
    {172, kList, nullptr, false},
    {174, kLabel, "Level:", false},
    {173, kEdit, nullptr, false},
    {149, kCheck, "Hierarchy optimizer # 1", false},
    {150, kCheck, "Hierarchy optimizer # 2", false},
    {175, kCheck, "Compress && optimize number of objects", false},
    {176, kButton, "Options...", false},
    {151, kList, nullptr, false},
    {152, kList, nullptr, false},
    {153, kEdit, nullptr, false},
    {156, kCheck, "Weld vertices, threshold = ", false},
    {160, kEdit, nullptr, false},
    {157, kCheck, "Weld texture coords, threshold = ", false},
    {161, kEdit, nullptr, false},
    {158, kCheck, "Weld vertex colors, threshold = ", false},
    {162, kEdit, nullptr, false},
    {159, kCheck, "Weld normals, threshold = ", false},
    {163, kEdit, nullptr, false},
    {164, kCheck, "Merge triangles && co-planr polygons into larger polygons", false},
    {165, kCheck, "Make only quads", false},
    {166, kEdit, nullptr, false},
    {167, kLabel, "= co-planar angle (degrees)", false},
    {118, kCheck, "Extract images from Inventor files as new texture maps", true},
    {119, kCheck, "Display textures while extracting from geometry files", true},
    {122, kLabel, "Location to store extracted textures:", false},
    {123, kRadio, "Same location as imported Inventor file", false},
    {124, kRadio, "In this specific directory:", false},
    {125, kEdit, nullptr, false},
    {126, kButton, "&Browse", false},
    {127, kCheck, "Confirm possible texture file overwrite", true},
    {128, kCheck, "Strip file path from all bitmap references", true},
    {129, kCheck, "Replace all texture file paths with this file path:", true},
    {130, kEdit, nullptr, false},
    {131, kButton, "B&rowse", false},
    {132, kList, nullptr, false},
    {134, kLabel, "Alpha channel source:", false},
    {133, kCheck, "Invert alpha channel", true},
    {110, kCheck, "Lights", false},
    {111, kCheck, "Cameras", false},
    {112, kCheck, "Materials", false},
    {168, kCheck, "Texture references", false},
    {169, kCheck, "Vertex normals", false},
    {170, kCheck, "Vertex uv txtr coords", false},
    {171, kCheck, "Vertex colors", false},
    {1, kButton, "&OK", false},
    {2, kButton, "&Cancel", false},
    {200, kButton, "&Help", false},
    {202, kButton, "&Reset", false},
    {201, kButton, "&About...", false},
};

const win32::ControlTemplate *FindControl(const win32::DialogTemplate &d, int id) {
  for (const auto &c : d.controls) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

bool HasText(const win32::DialogTemplate &d, const std::string &text) {
  for (const auto &c : d.controls) {
    if (c.text == text) return true;
  }
  return false;
}

win32::ResourceScript ModuleScript() {
  win32::ResourceScript script;
  std::string error;
  EXPECT_TRUE(win32::ParseResourceScript(inventor_import_resources.resource_script, &script, &error)) << error;
  return script;
}

}  // namespace

TEST(DialogTemplates, OptionsDialogHoldsEveryControlItsProcedureTouches) {
  win32::ResourceScript script = ModuleScript();
  const win32::DialogTemplate *d = win32::FindDialogTemplate(script, "OptionsDialog");
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->caption, "Inventor2.x and VRML1 Geometry Import Plug-In");
  EXPECT_EQ(d->width, 464);
  EXPECT_EQ(d->height, 327);
  EXPECT_EQ(d->font_name, "Helv");
  EXPECT_EQ(d->font_size, 8);
  for (const Expected &e : kOptionsControls) {
    const win32::ControlTemplate *c = FindControl(*d, e.id);
    ASSERT_NE(c, nullptr) << "control " << e.id;
    EXPECT_EQ(c->kind, e.kind) << "control " << e.id;
    if (e.text) {
      EXPECT_EQ(c->text, e.text) << "control " << e.id;
    }
    EXPECT_EQ(c->automatic, e.automatic) << "control " << e.id;
  }
  EXPECT_TRUE(FindControl(*d, IDOK)->default_button);
  EXPECT_TRUE(FindControl(*d, IDC_SAVE_DIR)->read_only && FindControl(*d, IDC_REF_DIR)->read_only);
  for (const char *group : {"Inventor Import Options", "Polygon Welding && Merging", "Texture Map Extraction",
                            "Selective Loading", "Transparency source:", "Level-of-Detail Selection:",
                            "Shading coefficient modifications:",
                            "This filter imports from Inventor2 && VRML1 files: geometry, hierarchy, lights, cameras, "
                            "materials, textures and embedded texture images."}) {
    EXPECT_TRUE(HasText(*d, group)) << group;
  }
}

TEST(DialogTemplates, AboutBoxHasItsTwoButtons) {
  win32::ResourceScript script = ModuleScript();
  const win32::DialogTemplate *d = win32::FindDialogTemplate(script, "AboutBox");
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->caption, "About the Inventor Geometry Import Plug-In");
  EXPECT_EQ(d->width, 247);
  EXPECT_EQ(d->height, 148);
  EXPECT_EQ(d->font_name, "HELV");
  EXPECT_TRUE(FindControl(*d, IDOK)->default_button);
  EXPECT_EQ(FindControl(*d, IDOK)->text, "&OK");
  EXPECT_EQ(FindControl(*d, IDC_HELP_BUTTON)->text, "&Help");
  EXPECT_TRUE(HasText(*d, "Inventor Geometry Import Filter"));
}
