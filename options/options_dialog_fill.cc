// Filling the options dialog from the option table, the clicks on its
// check boxes, radio buttons and lists, and its enable rules.
#include "host/import_io.h"
#include "options/option_table.h"
#include "options/options.h"
#include "options/options_dialog.h"
#include "options/resource.h"
#include "state/state.h"

namespace {

void EnableRange(HWND dialog, int first, int last, bool enable) {
  for (int id = first; id <= last; ++id) Import_IO_Set_Control_Enable(dialog, id, enable);
}

// Settings that cannot be shown as they are: a specific directory that is
// not set shows as "same location", and only one of strip and replace.
void NormaliseTextureChoices(ImportOptions &o) {
  if (o.txtr_save_dir_same == 0 && !o.txtr_save_dir) o.txtr_save_dir_same = 1;
  if (o.txtr_ref_dir_strip && o.txtr_ref_dir_specific) o.txtr_ref_dir_specific = 0;
}

bool IsCheckBox(const OptionControl &control) {
  return control.kind == OptionControlKind::kCheckBox || control.kind == OptionControlKind::kAutoCheckBox;
}

bool IsList(const OptionControl &control) {
  return control.kind == OptionControlKind::kList || control.kind == OptionControlKind::kReversedList;
}

// A list position and the value it stands for, either way.
int16_t ListValue(const OptionControl &control, int position) {
  int value = control.kind == OptionControlKind::kReversedList ? control.item_count - 1 - position : position;
  return static_cast<int16_t>(value);
}

void ShowDirectory(HWND dialog, int id, const char *directory) { SetDlgItemTextA(dialog, id, directory ? directory : ""); }

void ShowOption(HWND dialog, const OptionRow &row, ImportOptions &o) {
  const OptionControl &control = row.control;
  switch (control.kind) {
    case OptionControlKind::kNone: break;
    case OptionControlKind::kCheckBox:
    case OptionControlKind::kAutoCheckBox: ShowOptionFlag(dialog, control.id, row.short_value.In(o)); break;
    case OptionControlKind::kRadioPair:
      CheckRadioButton(dialog, control.id, control.second_id,
                       row.short_value.In(o) == 1 ? control.id : control.second_id);
      break;
    case OptionControlKind::kList:
    case OptionControlKind::kReversedList:
      FillOptionList(dialog, control.id, control.items, control.item_count,
                     ListValue(control, row.short_value.In(o)));
      break;
    case OptionControlKind::kDirectoryText: ShowDirectory(dialog, control.id, row.directory.In(o)); break;
    case OptionControlKind::kNumberEdit: Import_IO_NdFloat_To_Dialog(dialog, control.id, row.float_value.In(o)); break;
    case OptionControlKind::kIntegerEdit: Import_IO_NdInt_To_Dialog(dialog, control.id, row.long_value.In(o)); break;
  }
}

}  // namespace

// A flag counts as set when it is nonzero, so a box never hides a value
// that some conversion step would act on.
void ShowOptionFlag(HWND dialog, int id, int16_t flag) { CheckDlgButton(dialog, id, flag ? BST_CHECKED : BST_UNCHECKED); }

bool FlipOptionFlag(HWND dialog, int id) {
  const OptionRow *row = FindOptionControl(id);
  if (!row || !IsCheckBox(row->control)) return false;
  int16_t &flag = row->short_value.In(DialogOptions());
  flag = flag ? 0 : 1;
  ShowOptionFlag(dialog, id, flag);
  return true;
}

bool ChooseOptionRadio(HWND dialog, int id) {
  const OptionRow *row = FindOptionControl(id);
  if (!row || row->control.kind != OptionControlKind::kRadioPair) return false;
  ImportOptions &o = DialogOptions();
  row->short_value.In(o) = id == row->control.id ? 1 : 0;
  ShowOption(dialog, *row, o);
  return true;
}

ImportOptions &DialogOptions() {
  if (!plugin.state) SetDefaultOptions_Inventor();
  return plugin.state->options;
}

void FillOptionList(HWND dialog, int id, const char *const *names, int count, int selection) {
  SendDlgItemMessageA(dialog, id, CB_RESETCONTENT, 0, 0);
  for (int i = 0; i < count; ++i) SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(names[i]));
  SendDlgItemMessageA(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(static_cast<intptr_t>(selection)), 0);
}

void FillOptionsDialog(HWND dialog) {
  ImportOptions &o = DialogOptions();
  NormaliseTextureChoices(o);
  for (const OptionRow &row : option_table) ShowOption(dialog, row, o);
  FillShadingGroup(dialog);
}

void ApplyEnableRules(HWND dialog) {
  const ImportOptions &o = DialogOptions();
  EnableRange(dialog, IDC_LOD_LEVEL, IDC_LOD_LEVEL_LABEL, o.lod_source == 2);
  EnableRange(dialog, IDC_MERGE_QUADS_ONLY, IDC_MERGE_COPLANAR_LABEL, o.EnaMergePolygons != 0);
  EnableRange(dialog, IDC_WELD_TEXCOORDS, IDC_WELD_NORMALS_THRESHOLD, o.forceWeldVertices != 0);
  EnableRange(dialog, IDC_DISPLAY_TEXTURES, IDC_ALPHA_SOURCE_LABEL, o.load_textures != 0);
}

bool HandleOptionList(HWND dialog, int id) {
  const OptionRow *row = FindOptionControl(id);
  if (!row || !IsList(row->control)) return false;
  auto position = static_cast<int16_t>(SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0));
  if (position == CB_ERR) return true;
  row->short_value.In(DialogOptions()) = ListValue(row->control, position);
  if (id == IDC_LOD_SOURCE) ApplyEnableRules(dialog);
  return true;
}
