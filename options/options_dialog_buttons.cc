// What the buttons of the options dialog do beyond setting their option:
// the texture boxes and the strip-or-replace pair, and the two directory
// choosers.
#include "host/import_io.h"
#include "options/options_dialog.h"
#include "options/resource.h"

namespace {

const char kChooserTitle[] = "Select Destination Directory";

void ShowTextureBoxes(HWND dialog) {
  const ImportOptions &o = DialogOptions();
  ShowOptionFlag(dialog, IDC_LOAD_TEXTURES, o.load_textures);
  ShowOptionFlag(dialog, IDC_DISPLAY_TEXTURES, o.display_textures);
}

// Strip and replace exclude each other: setting one clears the other.
void ShowReferenceChoice(HWND dialog) {
  const ImportOptions &o = DialogOptions();
  ShowOptionFlag(dialog, IDC_REF_DIR_STRIP, o.txtr_ref_dir_strip);
  ShowOptionFlag(dialog, IDC_REF_DIR_SPECIFIC, o.txtr_ref_dir_specific);
}

void AfterFlip(HWND dialog, int id) {
  ImportOptions &o = DialogOptions();
  switch (id) {
    case IDC_LOAD_TEXTURES:
      ShowTextureBoxes(dialog);
      ApplyEnableRules(dialog);
      break;
    case IDC_DISPLAY_TEXTURES:
      ShowTextureBoxes(dialog);
      break;
    case IDC_WELD_VERTICES:
    case IDC_MERGE_POLYGONS:
      ApplyEnableRules(dialog);
      break;
    case IDC_REF_DIR_STRIP:
      if (o.txtr_ref_dir_strip) o.txtr_ref_dir_specific = 0;
      ShowReferenceChoice(dialog);
      break;
    case IDC_REF_DIR_SPECIFIC:
      if (o.txtr_ref_dir_specific) o.txtr_ref_dir_strip = 0;
      ShowReferenceChoice(dialog);
      break;
    default:
      break;
  }
}

void BrowseSaveDirectory(HWND dialog) {
  ImportOptions &o = DialogOptions();
  if (!Import_IO_GetWindowsOutputDirectory(dialog, &o.txtr_save_dir, kChooserTitle,
                                           "Select Destination Directory for Extracted Textures")) {
    return;
  }
  ChooseOptionRadio(dialog, IDC_SAVE_DIR_SPECIFIC);
  SetDlgItemTextA(dialog, IDC_SAVE_DIR, o.txtr_save_dir);
}

void BrowseReferenceDirectory(HWND dialog) {
  ImportOptions &o = DialogOptions();
  if (!Import_IO_GetWindowsOutputDirectory(dialog, &o.txtr_ref_dir, kChooserTitle, "Select New Directory File Path")) {
    return;
  }
  o.txtr_ref_dir_specific = 1;
  o.txtr_ref_dir_strip = 0;
  ShowReferenceChoice(dialog);
  SetDlgItemTextA(dialog, IDC_REF_DIR, o.txtr_ref_dir);
}

}  // namespace

bool HandleOptionButton(HWND dialog, int id) {
  if (FlipOptionFlag(dialog, id)) {
    AfterFlip(dialog, id);
    return true;
  }
  if (ChooseOptionRadio(dialog, id)) return true;
  switch (id) {
    case IDC_SAVE_DIR_BROWSE: BrowseSaveDirectory(dialog); return true;
    case IDC_REF_DIR_BROWSE: BrowseReferenceDirectory(dialog); return true;
    default: return false;
  }
}
