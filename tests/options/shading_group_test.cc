#include "options/resource.h"
#include "plugin/plugin.h"
#include "tests/options/options_fixture.h"

using win32::DialogDriver;
using win32::ScriptedUser;

using ShadingGroup = OptionsTest;

TEST_F(ShadingGroup, ListsValueFieldAndValueChecksFollowTheChosenAttribute) {
  auto reply = [](DialogDriver &d) { d.Answer(IDOK); };
  ScriptedUser user{[](DialogDriver &d) {
                      EXPECT_EQ(d.Items(IDC_SURF_ATTR).size(), 8u);
                      EXPECT_EQ(d.Items(IDC_SURF_ATTR_OPERATION).size(), 7u);
                      EXPECT_EQ(d.Items(IDC_SURF_ATTR_OPERATION).back(), "Normalize color & coeff");
                      EXPECT_FALSE(d.Visible(IDC_SURF_ATTR_VALUE));  // ambient: import unchanged
                      d.Choose(IDC_SURF_ATTR, "IOR");
                      EXPECT_EQ(d.Items(IDC_SURF_ATTR_OPERATION).size(), 6u);
                      EXPECT_EQ(d.Items(IDC_SURF_ATTR_OPERATION).back(), "Import and scale by");

                      d.Choose(IDC_SURF_ATTR, "Phong Shininess");
                      d.Choose(IDC_SURF_ATTR_OPERATION, "Set and use default");
                      EXPECT_TRUE(d.Visible(IDC_SURF_ATTR_VALUE));
                      EXPECT_FALSE(d.Enabled(IDC_SURF_ATTR_VALUE));
                      EXPECT_EQ(d.Text(IDC_SURF_ATTR_VALUE), "32");
                      d.Choose(IDC_SURF_ATTR_OPERATION, "Import unchanged");
                      EXPECT_FALSE(d.Visible(IDC_SURF_ATTR_VALUE));

                      d.Choose(IDC_SURF_ATTR, "Diffuse Coeff");
                      d.Choose(IDC_SURF_ATTR_OPERATION, "Set to specific value");
                      d.Type(IDC_SURF_ATTR_VALUE, "1.5");
                      d.Choose(IDC_SURF_ATTR, "Specular Coeff");  // refused: stays on diffuse
                      EXPECT_EQ(d.SelectedItem(IDC_SURF_ATTR), "Diffuse Coeff");
                      EXPECT_EQ(d.Focus(), IDC_SURF_ATTR_VALUE);
                      d.Type(IDC_SURF_ATTR_VALUE, "0.9");
                      d.Choose(IDC_SURF_ATTR, "Specular Coeff");
                      EXPECT_FLOAT_EQ(surf_attr_mod_value[kAttrDiffuse], 0.9f);
                      EXPECT_EQ(d.SelectedItem(IDC_SURF_ATTR_OPERATION), "Normalize color & coeff");

                      d.Choose(IDC_SURF_ATTR, "IOR");
                      d.Choose(IDC_SURF_ATTR_OPERATION, "Import and scale by");
                      d.Type(IDC_SURF_ATTR_VALUE, "0");
                      d.Choose(IDC_SURF_ATTR, "Opacity");
                      d.Choose(IDC_SURF_ATTR_OPERATION, "Import and crop by");
                      d.Type(IDC_SURF_ATTR_VALUE, "0.01");
                      d.PressOk();  // below the IOR's minimum
                      d.Type(IDC_SURF_ATTR_VALUE, "2");
                      d.PressOk();
                    },
                    reply, reply, reply};
  EXPECT_EQ(ShowOptions(user), 1);
  const std::string title = "Parameter Error";
  EXPECT_EQ(Messages(),
            (std::vector<std::pair<std::string, std::string>>{
                {title, "The surface attribute numeric value is too large.\n\nMaximum value should be 1.000000."},
                {title,
                 "The surface attribute numeric value must be greater than 0.0 when the 'Scale' operation is enabled."},
                {title, "The surface attribute numeric value is too small.\n\nMinimum value should be 0.050000."},
            }));
  EXPECT_EQ(StoredValue("last-surf-attr-combo-selected"), "6");
  EXPECT_EQ(StoredValue("surf-attr-mod-ior-operation"), "4");
  EXPECT_EQ(StoredValue("surf-attr-mod-ior-value"), "2.000000");
  EXPECT_EQ(StoredValue("surf-attr-mod-diffuse-operation"), "3");
  EXPECT_EQ(StoredValue("surf-attr-mod-diffuse-value"), "0.900000");
  EXPECT_EQ(StoredValue("surf-attr-mod-phong-value"), "32.000000");
}
