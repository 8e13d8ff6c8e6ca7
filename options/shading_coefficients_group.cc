// The "Shading coefficient modifications" group: an attribute list (151),
// the operation list of the chosen attribute (152) and its value (153).
// The lists edit the module-level modifiers at once; the value is tested
// and stored when OK is pressed or another attribute is chosen.
#include <cstdio>
#include <string>

#include "host/import_io.h"
#include "options/options_dialog.h"
#include "options/resource.h"

namespace {

// The attribute the group shows; a stored index out of range (from an
// edited preferences file) falls back to the first attribute.
int ShownAttribute() {
  if (last_surf_attr_combo_selected < 0 || last_surf_attr_combo_selected >= kSurfaceAttributeCount) {
    last_surf_attr_combo_selected = 0;
  }
  return last_surf_attr_combo_selected;
}

// Colour attributes can be normalised with their colour; scalar ones end
// the list at "Import and scale by".
int OperationCount(int attribute) { return attribute <= kAttrLuminous ? kOpNormalize + 1 : kOpScale + 1; }

bool IsValueShown(int operation) { return operation >= kOpSetDefault && operation <= kOpScale; }
bool IsValueEnabled(int operation) { return operation >= kOpSetValue && operation <= kOpScale; }

// "Set and use default" shows, and stores, the attribute's table default.
void ShowValue(HWND dialog, int attribute) {
  if (surf_attr_mod_operation[attribute] == kOpSetDefault) {
    surf_attr_mod_value[attribute] = surf_attr_table[attribute].default_value;
  }
  Import_IO_NdFloat_To_Dialog(dialog, IDC_SURF_ATTR_VALUE, surf_attr_mod_value[attribute]);
}

// The message for a value the operation cannot take, or "" when it can.
std::string ValueProblem(int attribute, float value) {
  const SurfAttrRow &row = surf_attr_table[attribute];
  char text[160];
  if (surf_attr_mod_operation[attribute] == kOpScale) {
    if (value > 0.0f) return "";
    return "The surface attribute numeric value must be greater than 0.0 when the 'Scale' operation is enabled.";
  }
  if (value < row.minimum) {
    std::snprintf(text, sizeof text, "The surface attribute numeric value is too small.\n\nMinimum value should be %f.",
                  static_cast<double>(row.minimum));
    return text;
  }
  if (value > row.maximum) {
    std::snprintf(text, sizeof text, "The surface attribute numeric value is too large.\n\nMaximum value should be %f.",
                  static_cast<double>(row.maximum));
    return text;
  }
  return "";
}

}  // namespace

void FillShadingGroup(HWND dialog) {
  int attribute = ShownAttribute();
  const char *attributes[kSurfaceAttributeCount];
  for (int i = 0; i < kSurfaceAttributeCount; ++i) attributes[i] = surf_attr_table[i].name;
  const char *operations[kOpNormalize + 1];
  for (int i = 0; i <= kOpNormalize; ++i) operations[i] = surf_attr_operation_names[i].name;
  FillOptionList(dialog, IDC_SURF_ATTR, attributes, kSurfaceAttributeCount, attribute);
  FillOptionList(dialog, IDC_SURF_ATTR_OPERATION, operations, OperationCount(attribute), surf_attr_mod_operation[attribute]);
  ShowValue(dialog, attribute);
  ApplyValueFieldRule(dialog);
}

bool ApplyValueFieldRule(HWND dialog) {
  int operation = surf_attr_mod_operation[ShownAttribute()];
  ShowWindow(GetDlgItem(dialog, IDC_SURF_ATTR_VALUE), IsValueShown(operation) ? SW_SHOW : SW_HIDE);
  Import_IO_Set_Control_Enable(dialog, IDC_SURF_ATTR_VALUE, IsValueEnabled(operation));
  return IsValueEnabled(operation);
}

bool CheckShadingValue(HWND dialog) {
  int attribute = ShownAttribute();
  if (!IsValueEnabled(surf_attr_mod_operation[attribute])) return true;
  float value = 0;
  if (!Import_IO_Dialog_To_NdFloat(dialog, IDC_SURF_ATTR_VALUE, &value)) return false;
  std::string problem = ValueProblem(attribute, value);
  if (!problem.empty()) {
    MessageBoxA(dialog, problem.c_str(), "Parameter Error", MB_OK);
    Import_IO_SetFocus_Edit_Control(dialog, IDC_SURF_ATTR_VALUE);
    return false;
  }
  surf_attr_mod_value[attribute] = value;
  return true;
}

void ShadingAttributeChanged(HWND dialog) {
  int previous = ShownAttribute();
  auto chosen = static_cast<int>(SendDlgItemMessageA(dialog, IDC_SURF_ATTR, CB_GETCURSEL, 0, 0));
  if (chosen == CB_ERR || chosen == previous) return;
  if (!CheckShadingValue(dialog)) {
    SendDlgItemMessageA(dialog, IDC_SURF_ATTR, CB_SETCURSEL, static_cast<WPARAM>(previous), 0);
    return;
  }
  last_surf_attr_combo_selected = static_cast<int16_t>(chosen);
  FillShadingGroup(dialog);
}

void ShadingOperationChanged(HWND dialog) {
  auto chosen = static_cast<int>(SendDlgItemMessageA(dialog, IDC_SURF_ATTR_OPERATION, CB_GETCURSEL, 0, 0));
  if (chosen == CB_ERR) return;
  int attribute = ShownAttribute();
  surf_attr_mod_operation[attribute] = static_cast<int16_t>(chosen);
  if (chosen == kOpSetDefault) ShowValue(dialog, attribute);
  ApplyValueFieldRule(dialog);
}
