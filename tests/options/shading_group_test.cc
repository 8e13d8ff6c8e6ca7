// The shading group of the options dialog: the attribute list, the
// operation list that follows it, the value field and its checks.
#include "options/resource.h"
#include "plugin/plugin.h"
#include "tests/options/options_fixture.h"

using win32::DialogDriver;
using win32::ScriptedUser;
using MessageList = std::vector<std::pair<std::string, std::string>>;

namespace {

const char kCaption[] = "Parameter Error";
const char kTooLarge[] = "The surface attribute numeric value is too large.\n\nMaximum value should be 1.000000.";

void Acknowledge(DialogDriver &d) {
  EXPECT_TRUE(d.IsMessageBox());
  d.Answer(IDOK);
}

// Sets the diffuse coefficient to the value typed, then chooses the
// specular one, which checks the value left behind.
void TypeDiffuseAndMoveOn(DialogDriver &d, const char *value) {
  d.Choose(IDC_SURF_ATTR, "Diffuse Coeff");
  d.Choose(IDC_SURF_ATTR_OPERATION, "Set to specific value");
  d.Type(IDC_SURF_ATTR_VALUE, value);
  d.Choose(IDC_SURF_ATTR, "Specular Coeff");
}

}  // namespace

using ShadingGroup = OptionsTest;

TEST_F(ShadingGroup, ColourAttributesOfferEveryOperation) {
  ScriptedUser user{[](DialogDriver &d) {
    EXPECT_EQ(d.Items(IDC_SURF_ATTR).size(), 8u);
    EXPECT_EQ(d.SelectedItem(IDC_SURF_ATTR), "Ambient Coeff");
    EXPECT_EQ(d.Items(IDC_SURF_ATTR_OPERATION).size(), 7u);
    EXPECT_EQ(d.Items(IDC_SURF_ATTR_OPERATION).back(), "Normalize color & coeff");
    EXPECT_EQ(d.SelectedItem(IDC_SURF_ATTR_OPERATION), "Import unchanged");
    EXPECT_FALSE(d.Visible(IDC_SURF_ATTR_VALUE));
    d.PressCancel();
  }};
  EXPECT_EQ(ShowOptions(user), 0);
}

TEST_F(ShadingGroup, ScalarAttributesStopAtScaling) {
  ScriptedUser user{[](DialogDriver &d) {
    d.Choose(IDC_SURF_ATTR, "IOR");
    EXPECT_EQ(d.Items(IDC_SURF_ATTR_OPERATION).size(), 6u);
    EXPECT_EQ(d.Items(IDC_SURF_ATTR_OPERATION).back(), "Import and scale by");
    d.PressCancel();
  }};
  EXPECT_EQ(ShowOptions(user), 0);
}

// "Set and use default" puts the table default in place of the value and
// shows it greyed; "Import unchanged" hides the field.
TEST_F(ShadingGroup, SetAndUseDefaultShowsTheDefaultGreyed) {
  surf_attr_mod_value[kAttrPhong] = 10.0f;
  ScriptedUser user{[](DialogDriver &d) {
    d.Choose(IDC_SURF_ATTR, "Phong Shininess");
    d.Choose(IDC_SURF_ATTR_OPERATION, "Set and use default");
    EXPECT_TRUE(d.Visible(IDC_SURF_ATTR_VALUE));
    EXPECT_FALSE(d.Enabled(IDC_SURF_ATTR_VALUE));
    EXPECT_EQ(d.Text(IDC_SURF_ATTR_VALUE), "32");
    d.Choose(IDC_SURF_ATTR_OPERATION, "Import unchanged");
    EXPECT_FALSE(d.Visible(IDC_SURF_ATTR_VALUE));
    d.PressCancel();
  }};
  EXPECT_EQ(ShowOptions(user), 0);
  EXPECT_FLOAT_EQ(surf_attr_mod_value[kAttrPhong], 32.0f);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ShadingGroup, AValueAboveTheMaximumKeepsItsAttributeChosen) {
  ScriptedUser user{[](DialogDriver &d) {
                      TypeDiffuseAndMoveOn(d, "1.5");
                      EXPECT_EQ(d.SelectedItem(IDC_SURF_ATTR), "Diffuse Coeff");
                      EXPECT_EQ(d.Focus(), IDC_SURF_ATTR_VALUE);
                      d.PressCancel();
                    },
                    Acknowledge};
  EXPECT_EQ(ShowOptions(user), 0);
  EXPECT_EQ(Messages(), (MessageList{{kCaption, kTooLarge}}));
  EXPECT_FLOAT_EQ(surf_attr_mod_value[kAttrDiffuse], 0.4f);
}

// Choosing another attribute stores the value of the one left; OK then
// writes the chosen attribute and every modifier.
TEST_F(ShadingGroup, AnAcceptedValueIsStoredWhenAnotherAttributeIsChosen) {
  ScriptedUser user{[](DialogDriver &d) {
    TypeDiffuseAndMoveOn(d, "0.9");
    EXPECT_FLOAT_EQ(surf_attr_mod_value[kAttrDiffuse], 0.9f);
    EXPECT_EQ(d.SelectedItem(IDC_SURF_ATTR_OPERATION), "Normalize color & coeff");
    d.PressOk();
  }};
  EXPECT_EQ(ShowOptions(user), 1);
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(StoredValue("last-surf-attr-combo-selected"), "2");
  EXPECT_EQ(StoredValue("surf-attr-mod-diffuse-operation"), "3");
  EXPECT_EQ(StoredValue("surf-attr-mod-diffuse-value"), "0.900000");
  EXPECT_EQ(StoredValue("surf-attr-mod-phong-value"), "32.000000");
}

// Scaling ignores the attribute's bounds but refuses a factor of 0.
TEST_F(ShadingGroup, ScalingByZeroIsRefusedOnOk) {
  ScriptedUser user{[](DialogDriver &d) {
                      d.Choose(IDC_SURF_ATTR, "IOR");
                      d.Choose(IDC_SURF_ATTR_OPERATION, "Import and scale by");
                      d.Type(IDC_SURF_ATTR_VALUE, "0");
                      d.PressOk();
                      EXPECT_TRUE(d.IsOpen());
                      EXPECT_EQ(d.Focus(), IDC_SURF_ATTR_VALUE);
                      d.Type(IDC_SURF_ATTR_VALUE, "7");  // above the IOR's maximum of 5
                      d.PressOk();
                    },
                    Acknowledge};
  EXPECT_EQ(ShowOptions(user), 1);
  EXPECT_EQ(Messages(),
            (MessageList{{kCaption,
                          "The surface attribute numeric value must be greater than 0.0 when the 'Scale' operation is "
                          "enabled."}}));
  EXPECT_EQ(StoredValue("surf-attr-mod-ior-operation"), "5");
  EXPECT_EQ(StoredValue("surf-attr-mod-ior-value"), "7.000000");
}

TEST_F(ShadingGroup, AValueBelowTheMinimumIsRefusedOnOk) {
  ScriptedUser user{[](DialogDriver &d) {
                      d.Choose(IDC_SURF_ATTR, "IOR");
                      d.Choose(IDC_SURF_ATTR_OPERATION, "Import and crop by");
                      d.Type(IDC_SURF_ATTR_VALUE, "0.01");
                      d.PressOk();
                      EXPECT_TRUE(d.IsOpen());
                      d.Type(IDC_SURF_ATTR_VALUE, "2");
                      d.PressOk();
                    },
                    Acknowledge};
  EXPECT_EQ(ShowOptions(user), 1);
  EXPECT_EQ(Messages(),
            (MessageList{{kCaption, "The surface attribute numeric value is too small.\n\nMinimum value should be "
                                    "0.050000."}}));
  EXPECT_EQ(StoredValue("last-surf-attr-combo-selected"), "6");
  EXPECT_EQ(StoredValue("surf-attr-mod-ior-operation"), "4");
  EXPECT_EQ(StoredValue("surf-attr-mod-ior-value"), "2.000000");
}

// The value of an attribute whose field is greyed or hidden is not checked:
// Cancel and OK close whatever it holds.
TEST_F(ShadingGroup, AHiddenValueIsNotChecked) {
  surf_attr_mod_value[kAttrOpacity] = 9.0f;  // above its maximum of 1
  last_surf_attr_combo_selected = kAttrOpacity;
  ScriptedUser user{[](DialogDriver &d) {
    EXPECT_EQ(d.SelectedItem(IDC_SURF_ATTR), "Opacity");
    EXPECT_FALSE(d.Visible(IDC_SURF_ATTR_VALUE));
    d.Choose(IDC_SURF_ATTR, "IOR");
    EXPECT_EQ(d.SelectedItem(IDC_SURF_ATTR), "IOR");
    d.PressOk();
  }};
  EXPECT_EQ(ShowOptions(user), 1);
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(StoredValue("surf-attr-mod-opacity-value"), "9.000000");
}
