#include "options/preference_keys.h"

#include <cstring>

#define OPTION(name, format) {#name, PrefFormat::format, offsetof(ImportOptions, name), nullptr}
#define MODULE(key, format, value) {key, PrefFormat::format, 0, value}
#define MODIFIER(stem, attr)                                                              \
  MODULE("surf-attr-mod-" stem "-value", kFloatF, &surf_attr_mod_value[attr]),           \
      MODULE("surf-attr-mod-" stem "-operation", kInt16, &surf_attr_mod_operation[attr])

const PrefKey kPreferenceKeys[kPreferenceKeyCount] = {
    OPTION(load_textures, kInt16),
    OPTION(textures_confirm_overwrite, kInt16),
    OPTION(display_textures, kInt16),
    OPTION(txtr_save_dir_same, kInt16),
    OPTION(txtr_save_dir, kDirectory),
    OPTION(txtr_ref_dir_strip, kInt16),
    OPTION(txtr_ref_dir_specific, kInt16),
    OPTION(txtr_ref_dir, kDirectory),
    OPTION(import_lights, kInt16),
    OPTION(import_cameras, kInt16),
    OPTION(import_materials, kInt16),
    OPTION(flip_y_up, kInt16),
    OPTION(quick_naming, kInt16),
    OPTION(add_camera_headlight, kInt16),
    OPTION(print_stats, kInt16),
    OPTION(alpha_source, kInt16),
    OPTION(alpha_invert, kInt16),
    OPTION(transparency_source, kInt16),
    OPTION(optimize_hierarchy1, kInt16),
    OPTION(optimize_hierarchy2, kInt16),
    OPTION(optimize_number_of_objects, kInt16),
    OPTION(forceWeldVertices, kInt16),
    OPTION(forceWeldNormals, kInt16),
    OPTION(forceWeldTexCoords, kInt16),
    OPTION(forceWeldVertexColors, kInt16),
    OPTION(smoothing_angle, kFloatG),
    OPTION(calc_smoothed_normals, kInt16),
    OPTION(WeldVerticesThreshold, kFloatG),
    OPTION(WeldTexCoordsThreshold, kFloatG),
    OPTION(WeldVertexColorsThreshold, kFloatG),
    OPTION(WeldNormalsThreshold, kFloatG),
    OPTION(EnaMergePolygons, kInt16),
    OPTION(MergePolygonsQuadsOnly, kInt16),
    OPTION(MergePolygonsCoplanarAngle, kFloatG),
    OPTION(ImportTextureReferences, kInt16),
    OPTION(ImportVertexNormals, kInt16),
    OPTION(ImportuvTextureCoordinates, kInt16),
    OPTION(ImportVertexColors, kInt16),
    MODULE("last-surf-attr-combo-selected", kIndex16, &last_surf_attr_combo_selected),
    MODIFIER("ambient", kAttrAmbient),
    MODIFIER("diffuse", kAttrDiffuse),
    MODIFIER("specular", kAttrSpecular),
    MODIFIER("luminous", kAttrLuminous),
    MODIFIER("reflect", kAttrReflect),
    MODIFIER("opacity", kAttrOpacity),
    MODIFIER("ior", kAttrIor),
    MODIFIER("phong", kAttrPhong),
    OPTION(lod_source, kInt16),
    OPTION(nthlod, kInt32),
};

#undef MODIFIER
#undef MODULE
#undef OPTION

const PrefKey *FindPreferenceKey(const char *key) {
  for (const PrefKey &row : kPreferenceKeys) {
    if (std::strcmp(row.key, key) == 0) return &row;
  }
  return nullptr;
}

void *PreferenceValue(const PrefKey &row, ImportOptions &options) {
  if (row.module_value) return row.module_value;
  return reinterpret_cast<char *>(&options) + row.offset;
}

bool CopyPreferencesPath(const char *path, char (&buffer)[KV_MAX_PATH]) {
  if (!path) return false;
  size_t length = std::strlen(path);
  if (length >= sizeof buffer) return false;
  std::memcpy(buffer, path, length + 1);
  return true;
}
