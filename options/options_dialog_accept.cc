// OK of the options dialog: the typed numbers are tested in a fixed order;
// the first that fails keeps the dialog open with its message, and every
// value that passed before it stays stored.
#include <string>

#include "host/import_io.h"
#include "options/options_dialog.h"
#include "options/resource.h"
#include "plugin/callbacks.h"
#include "plugin/plugin_module.h"

namespace {

struct Threshold {
  int id;
  float ImportOptions::*field;
  const char *message;
};

const Threshold kThresholds[] = {
    {IDC_WELD_VERTICES_THRESHOLD, &ImportOptions::WeldVerticesThreshold,
     "The vertex welding threshold must be greater than 0."},
    {IDC_WELD_TEXCOORDS_THRESHOLD, &ImportOptions::WeldTexCoordsThreshold,
     "The vertex texture coordinate welding threshold must be greater than 0."},
    {IDC_WELD_VERTEX_COLORS_THRESHOLD, &ImportOptions::WeldVertexColorsThreshold,
     "The vertex colors welding threshold must be greater than 0."},
    {IDC_WELD_NORMALS_THRESHOLD, &ImportOptions::WeldNormalsThreshold,
     "The vertex normals welding threshold must be greater than 0."},
};

bool Refuse(HWND dialog, int id, const char *text, const char *caption) {
  MessageBoxA(dialog, text, caption, MB_OK);
  Import_IO_SetFocus_Edit_Control(dialog, id);
  return false;
}

// Tested whether or not "Choose Nth" is selected.
bool AcceptLodLevel(HWND dialog, ImportOptions &o) {
  int32_t level = 0;
  if (!Import_IO_Dialog_To_NdInt(dialog, IDC_LOD_LEVEL, &level)) return false;
  if (level < 1) return Refuse(dialog, IDC_LOD_LEVEL, "The LOD number must be greater than 0", "Runtime Option Error");
  o.nthlod = level;
  return true;
}

bool AcceptTextureDirectory(HWND dialog, const ImportOptions &o) {
  if (o.txtr_save_dir_same == 1 || o.txtr_save_dir) return true;
  MessageBoxA(dialog, "Invalid textures directory", "Invalid Option", MB_OK | MB_ICONEXCLAMATION);
  return false;
}

// Tested whether or not welding is switched on.
bool AcceptThresholds(HWND dialog, ImportOptions &o) {
  for (const Threshold &t : kThresholds) {
    float value = 0;
    if (!Import_IO_Dialog_To_NdFloat(dialog, t.id, &value)) return false;
    if (!(value > 0.000001)) return Refuse(dialog, t.id, t.message, "Error");
    o.*t.field = value;
  }
  return true;
}

bool AcceptCoplanarAngle(HWND dialog, ImportOptions &o) {
  float angle = 0;
  if (!Import_IO_Dialog_To_NdFloat(dialog, IDC_MERGE_COPLANAR_ANGLE, &angle)) return false;
  if (angle < 0.0f) {
    return Refuse(dialog, IDC_MERGE_COPLANAR_ANGLE, "The co-plaar angle must be greater than or equal to 0.0.", "Error");
  }
  o.MergePolygonsCoplanarAngle = angle;
  return true;
}

// Without a support directory ("initialize" not yet sent) there is no
// preferences file to write.
void SavePreferences() {
  if (!plugin_directory) return;
  std::string path = std::string(plugin_directory) + "vorlix.ini";
  SaveImportConvertOptions_Inventor(path.c_str());
}

}  // namespace

bool AcceptOptions(HWND dialog) {
  ImportOptions &o = DialogOptions();
  if (!Import_IO_Check_Smoothing_Angle(dialog, IDC_SMOOTHING_ANGLE, &o.smoothing_angle)) return false;
  if (!AcceptLodLevel(dialog, o) || !AcceptTextureDirectory(dialog, o) || !AcceptThresholds(dialog, o) ||
      !AcceptCoplanarAngle(dialog, o)) {
    return false;
  }
  if (o.txtr_ref_dir_strip && o.txtr_ref_dir_specific) o.txtr_ref_dir_specific = 0;
  if (!CheckShadingValue(dialog)) return false;
  SavePreferences();
  return true;
}
