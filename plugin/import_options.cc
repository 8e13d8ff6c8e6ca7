// The options record's defaults and the constant tables of the shading
// attributes and their operations.
#include "plugin/import_options.h"

#include <new>

#include "plugin/plugin_module.h"

const SurfAttrRow surf_attr_table[kSurfaceAttributeCount] = {
    {"Ambient Coeff", kAttrAmbient, 0.3f, 0.0f, 1.0f},
    {"Diffuse Coeff", kAttrDiffuse, 0.4f, 0.0f, 1.0f},
    {"Specular Coeff", kAttrSpecular, 0.7f, 0.0f, 5.0f},
    {"Luminous Coeff", kAttrLuminous, 0.0f, 0.0f, 1.0f},
    {"Reflection Coeff", kAttrReflect, 0.0f, 0.0f, 1.0f},
    {"Opacity", kAttrOpacity, 1.0f, 0.0f, 1.0f},
    {"IOR", kAttrIor, 1.0f, 0.05f, 5.0f},
    {"Phong Shininess", kAttrPhong, 32.0f, 0.0f, 300.0f},
};

const SurfAttrOperationRow surf_attr_operation_names[8] = {
    {"Do not import", kOpDoNotImport},         {"Import unchanged", kOpImportUnchanged},
    {"Set and use default", kOpSetDefault},    {"Set to specific value", kOpSetValue},
    {"Import and crop by", kOpCrop},           {"Import and scale by", kOpScale},
    {"Normalize color & coeff", kOpNormalize}, {"", -1},
};

const char *const surf_attr_key_stems[kSurfaceAttributeCount] = {"ambient", "diffuse", "specular", "luminous",
                                                                 "reflect", "opacity", "ior",      "phong"};

int16_t surf_attr_mod_operation[kSurfaceAttributeCount];
float surf_attr_mod_value[kSurfaceAttributeCount];
int16_t last_surf_attr_combo_selected;

namespace {

const int16_t kDefaultOperations[kSurfaceAttributeCount] = {kOpImportUnchanged, kOpNormalize,       kOpNormalize,
                                                            kOpSetValue,        kOpImportUnchanged, kOpImportUnchanged,
                                                            kOpImportUnchanged, kOpImportUnchanged};

// The strings are set to null without being released: the callers that
// reach here with strings set (the dialog's reset) release them first.
void ApplyDefaultOptions(ImportOptions &o) {
  o.alpha_source = 0;
  o.transparency_source = 2;
  o.alpha_invert = 0;
  o.load_textures = 1;
  o.display_textures = 1;
  o.textures_confirm_overwrite = 1;
  o.print_stats = 1;
  o.txtr_save_dir_same = 0;
  o.txtr_save_dir = nullptr;
  o.txtr_ref_dir_specific = 0;
  o.txtr_ref_dir_strip = 0;
  o.txtr_ref_dir = nullptr;
  o.flip_y_up = 0;
  o.import_lights = 1;
  o.import_cameras = 1;
  o.add_camera_headlight = 0;
  o.import_materials = 1;
  o.quick_naming = 0;
  o.lod_source = 0;
  o.nthlod = 1;
  o.forceWeldVertices = 1;
  o.forceWeldNormals = 1;
  o.forceWeldTexCoords = 1;
  o.forceWeldVertexColors = 1;
  o.smoothing_angle = 45.0f;
  o.calc_smoothed_normals = 0;
  o.optimize_hierarchy1 = 1;
  o.optimize_hierarchy2 = 1;
  o.optimize_number_of_objects = 0;
  o.WeldVerticesThreshold = 0.0001f;
  o.WeldTexCoordsThreshold = 0.0001f;
  o.WeldVertexColorsThreshold = 0.0001f;
  o.WeldNormalsThreshold = 0.0001f;
  o.EnaMergePolygons = 0;
  o.MergePolygonsQuadsOnly = 1;
  o.MergePolygonsCoplanarAngle = 0.1f;
  o.ImportTextureReferences = 1;
  o.ImportVertexNormals = 1;
  o.ImportuvTextureCoordinates = 1;
  o.ImportVertexColors = 1;
}

void ApplyDefaultModifiers() {
  for (int i = 0; i < kSurfaceAttributeCount; ++i) {
    surf_attr_mod_operation[i] = kDefaultOperations[i];
    surf_attr_mod_value[i] = surf_attr_table[i].default_value;
  }
  last_surf_attr_combo_selected = 0;
}

}  // namespace

void SetDefaultOptions_Inventor() {
  if (!state) {
    state = new (std::nothrow) InventorState();
    if (!state) return;
    state->options.options_defaults_set = 0;
  }
  if (state->options.options_defaults_set) return;
  ApplyDefaultOptions(state->options);
  ApplyDefaultModifiers();
  state->options.options_defaults_set = 1;
}
