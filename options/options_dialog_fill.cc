// Filling the options dialog from the options, and its enable rules.
#include "host/import_io.h"
#include "options/options_dialog.h"
#include "options/resource.h"
#include "plugin/plugin_module.h"

namespace {

const char *const kLodSources[] = {"Choose first", "Choose last", "Choose Nth"};
const char *const kAlphaSources[] = {"Alpha channel from image", "Chroma key: upper left",
                                     "Chroma key: lower left", "Alpha chan always opaque"};
// Listed in the reverse of their values: the value is 2 minus the position.
const char *const kTransparencySources[] = {"Follow Inventor specification", "Material transparency",
                                            "Alpha value from texture map"};

struct FlagBox {
  int id;
  int16_t ImportOptions::*field;
};

const FlagBox kFlagBoxes[] = {
    {IDC_SMOOTH_NORMALS, &ImportOptions::calc_smoothed_normals},
    {IDC_FLIP_Y_UP, &ImportOptions::flip_y_up},
    {IDC_CAMERA_HEADLIGHT, &ImportOptions::add_camera_headlight},
    {IDC_QUICK_NAMING, &ImportOptions::quick_naming},
    {IDC_PRINT_STATS, &ImportOptions::print_stats},
    {IDC_OPTIMIZE_HIERARCHY1, &ImportOptions::optimize_hierarchy1},
    {IDC_OPTIMIZE_HIERARCHY2, &ImportOptions::optimize_hierarchy2},
    {IDC_OPTIMIZE_OBJECTS, &ImportOptions::optimize_number_of_objects},
    {IDC_WELD_VERTICES, &ImportOptions::forceWeldVertices},
    {IDC_WELD_TEXCOORDS, &ImportOptions::forceWeldTexCoords},
    {IDC_WELD_VERTEX_COLORS, &ImportOptions::forceWeldVertexColors},
    {IDC_WELD_NORMALS, &ImportOptions::forceWeldNormals},
    {IDC_MERGE_POLYGONS, &ImportOptions::EnaMergePolygons},
    {IDC_MERGE_QUADS_ONLY, &ImportOptions::MergePolygonsQuadsOnly},
    {IDC_LOAD_TEXTURES, &ImportOptions::load_textures},
    {IDC_DISPLAY_TEXTURES, &ImportOptions::display_textures},
    {IDC_CONFIRM_OVERWRITE, &ImportOptions::textures_confirm_overwrite},
    {IDC_REF_DIR_STRIP, &ImportOptions::txtr_ref_dir_strip},
    {IDC_REF_DIR_SPECIFIC, &ImportOptions::txtr_ref_dir_specific},
    {IDC_ALPHA_INVERT, &ImportOptions::alpha_invert},
    {IDC_IMPORT_LIGHTS, &ImportOptions::import_lights},
    {IDC_IMPORT_CAMERAS, &ImportOptions::import_cameras},
    {IDC_IMPORT_MATERIALS, &ImportOptions::import_materials},
    {IDC_IMPORT_TEXTURE_REFERENCES, &ImportOptions::ImportTextureReferences},
    {IDC_IMPORT_VERTEX_NORMALS, &ImportOptions::ImportVertexNormals},
    {IDC_IMPORT_UV_COORDINATES, &ImportOptions::ImportuvTextureCoordinates},
    {IDC_IMPORT_VERTEX_COLORS, &ImportOptions::ImportVertexColors},
};

struct NumberField {
  int id;
  float ImportOptions::*field;
};

const NumberField kNumberFields[] = {
    {IDC_SMOOTHING_ANGLE, &ImportOptions::smoothing_angle},
    {IDC_WELD_VERTICES_THRESHOLD, &ImportOptions::WeldVerticesThreshold},
    {IDC_WELD_TEXCOORDS_THRESHOLD, &ImportOptions::WeldTexCoordsThreshold},
    {IDC_WELD_VERTEX_COLORS_THRESHOLD, &ImportOptions::WeldVertexColorsThreshold},
    {IDC_WELD_NORMALS_THRESHOLD, &ImportOptions::WeldNormalsThreshold},
    {IDC_MERGE_COPLANAR_ANGLE, &ImportOptions::MergePolygonsCoplanarAngle},
};

void EnableRange(HWND dialog, int first, int last, bool enable) {
  for (int id = first; id <= last; ++id) Import_IO_Set_Control_Enable(dialog, id, enable);
}

// Settings that cannot be shown as they are: a specific directory that is
// not set shows as "same location", and only one of strip and replace.
void NormaliseTextureChoices(ImportOptions &o) {
  if (o.txtr_save_dir_same == 0 && !o.txtr_save_dir) o.txtr_save_dir_same = 1;
  if (o.txtr_ref_dir_strip && o.txtr_ref_dir_specific) o.txtr_ref_dir_specific = 0;
}

}  // namespace

// A flag counts as set when it is nonzero, so a box never hides a value
// that some conversion step would act on.
void ShowOptionFlag(HWND dialog, int id, int16_t flag) { CheckDlgButton(dialog, id, flag ? BST_CHECKED : BST_UNCHECKED); }

bool FlipOptionFlag(HWND dialog, int id) {
  for (const FlagBox &box : kFlagBoxes) {
    if (box.id != id) continue;
    int16_t &flag = DialogOptions().*box.field;
    flag = flag ? 0 : 1;
    ShowOptionFlag(dialog, id, flag);
    return true;
  }
  return false;
}

ImportOptions &DialogOptions() {
  if (!state) SetDefaultOptions_Inventor();
  return state->options;
}

void FillOptionList(HWND dialog, int id, const char *const *names, int count, int selection) {
  SendDlgItemMessageA(dialog, id, CB_RESETCONTENT, 0, 0);
  for (int i = 0; i < count; ++i) SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(names[i]));
  SendDlgItemMessageA(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(static_cast<intptr_t>(selection)), 0);
}

void FillOptionsDialog(HWND dialog) {
  ImportOptions &o = DialogOptions();
  NormaliseTextureChoices(o);
  for (const FlagBox &box : kFlagBoxes) ShowOptionFlag(dialog, box.id, o.*box.field);
  CheckRadioButton(dialog, IDC_SAVE_DIR_SAME, IDC_SAVE_DIR_SPECIFIC,
                   o.txtr_save_dir_same == 1 ? IDC_SAVE_DIR_SAME : IDC_SAVE_DIR_SPECIFIC);
  SetDlgItemTextA(dialog, IDC_SAVE_DIR, o.txtr_save_dir ? o.txtr_save_dir : "");
  SetDlgItemTextA(dialog, IDC_REF_DIR, o.txtr_ref_dir ? o.txtr_ref_dir : "");
  FillOptionList(dialog, IDC_LOD_SOURCE, kLodSources, 3, o.lod_source);
  FillOptionList(dialog, IDC_ALPHA_SOURCE, kAlphaSources, 4, o.alpha_source);
  FillOptionList(dialog, IDC_TRANSPARENCY_SOURCE, kTransparencySources, 3, 2 - o.transparency_source);
  for (const NumberField &number : kNumberFields) Import_IO_NdFloat_To_Dialog(dialog, number.id, o.*number.field);
  Import_IO_NdInt_To_Dialog(dialog, IDC_LOD_LEVEL, o.nthlod);
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
  if (id != IDC_LOD_SOURCE && id != IDC_ALPHA_SOURCE && id != IDC_TRANSPARENCY_SOURCE) return false;
  auto position = static_cast<int16_t>(SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0));
  if (position == CB_ERR) return true;
  ImportOptions &o = DialogOptions();
  if (id == IDC_LOD_SOURCE) {
    o.lod_source = position;
    ApplyEnableRules(dialog);
  } else if (id == IDC_ALPHA_SOURCE) {
    o.alpha_source = position;
  } else {
    o.transparency_source = static_cast<int16_t>(2 - position);
  }
  return true;
}
