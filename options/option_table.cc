// The import options, one row each, in the order of the preferences file.
#include "options/option_table.h"

#include <cstring>

#include "options/resource.h"

namespace {

enum RunToken : bool { kFileOnly = false, kToken = true };

const char *const kLodSources[] = {"Choose first", "Choose last", "Choose Nth"};
const char *const kAlphaSources[] = {"Alpha channel from image", "Chroma key: upper left", "Chroma key: lower left",
                                     "Alpha chan always opaque"};
// Listed from value 2 down to value 0.
const char *const kTransparencySources[] = {"Follow Inventor specification", "Material transparency",
                                            "Alpha value from texture map"};

constexpr OptionControl Control(OptionControlKind kind, int id) { return {kind, id, 0, nullptr, 0, {}}; }
constexpr OptionControl NoControl() { return Control(OptionControlKind::kNone, 0); }
constexpr OptionControl CheckBox(int id) { return Control(OptionControlKind::kCheckBox, id); }
constexpr OptionControl AutoCheckBox(int id) { return Control(OptionControlKind::kAutoCheckBox, id); }
constexpr OptionControl DirectoryText(int id) { return Control(OptionControlKind::kDirectoryText, id); }
constexpr OptionControl RadioPair(int id_for_1, int id_for_0) {
  return {OptionControlKind::kRadioPair, id_for_1, id_for_0, nullptr, 0, {}};
}
template <int N>
constexpr OptionControl List(int id, const char *const (&items)[N]) {
  return {OptionControlKind::kList, id, 0, items, N, {}};
}
template <int N>
constexpr OptionControl ReversedList(int id, const char *const (&items)[N]) {
  return {OptionControlKind::kReversedList, id, 0, items, N, {}};
}
constexpr OptionControl NumberEdit(int id, NumberCheck check) { return {OptionControlKind::kNumberEdit, id, 0, nullptr, 0, check}; }
constexpr OptionControl IntegerEdit(int id, NumberCheck check) {
  return {OptionControlKind::kIntegerEdit, id, 0, nullptr, 0, check};
}

constexpr NumberCheck kSmoothingAngle = {NumberRule::kSmoothingAngle, 0.0, nullptr, nullptr,
                                         AcceptStage::kBeforeTextureDirectory};
constexpr NumberCheck WeldThreshold(const char *message) {
  return {NumberRule::kAbove, 0.000001, message, "Error", AcceptStage::kAfterTextureDirectory};
}

constexpr OptionRow BaseRow(const char *key, OptionFormat format, float default_value, bool token,
                            OptionControl control) {
  OptionRow row{};
  row.key = key;
  row.format = format;
  row.default_value = default_value;
  row.token = token;
  row.control = control;
  return row;
}
constexpr OptionRow Row(const char *key, int16_t ImportOptions::*field, float default_value, RunToken token,
                        OptionControl control) {
  OptionRow row = BaseRow(key, OptionFormat::kInt16, default_value, token, control);
  row.short_value.field = field;
  return row;
}
constexpr OptionRow Row(const char *key, int32_t ImportOptions::*field, float default_value, RunToken token,
                        OptionControl control) {
  OptionRow row = BaseRow(key, OptionFormat::kInt32, default_value, token, control);
  row.long_value.field = field;
  return row;
}
constexpr OptionRow Row(const char *key, float ImportOptions::*field, float default_value, RunToken token,
                        OptionControl control) {
  OptionRow row = BaseRow(key, OptionFormat::kFloatG, default_value, token, control);
  row.float_value.field = field;
  return row;
}
constexpr OptionRow Row(const char *key, char *ImportOptions::*field, RunToken token, OptionControl control) {
  OptionRow row = BaseRow(key, OptionFormat::kDirectory, 0.0f, token, control);
  row.directory.field = field;
  return row;
}
// The module-level values beside the record are kept in the file only.
constexpr OptionRow Module(const char *key, OptionFormat format, int16_t *value, float default_value) {
  OptionRow row = BaseRow(key, format, default_value, kFileOnly, NoControl());
  row.short_value.module = value;
  return row;
}
constexpr OptionRow Module(const char *key, OptionFormat format, float *value, float default_value) {
  OptionRow row = BaseRow(key, format, default_value, kFileOnly, NoControl());
  row.float_value.module = value;
  return row;
}

}  // namespace

// A record member's key is its name.
#define FIELD(name) #name, &ImportOptions::name
// The value and the operation of one shading attribute; the value's default
// is the attribute's own.
#define MODIFIER(stem, attribute, operation)                                                           \
  Module("surf-attr-mod-" stem "-value", OptionFormat::kFloatF, &surf_attr_mod_value[attribute],        \
         surf_attr_table[attribute].default_value),                                                    \
      Module("surf-attr-mod-" stem "-operation", OptionFormat::kInt16, &surf_attr_mod_operation[attribute], \
             operation)

const OptionRow option_table[kOptionCount] = {
    Row(FIELD(load_textures), 1, kToken, AutoCheckBox(IDC_LOAD_TEXTURES)),
    Row(FIELD(textures_confirm_overwrite), 1, kToken, AutoCheckBox(IDC_CONFIRM_OVERWRITE)),
    Row(FIELD(display_textures), 1, kToken, AutoCheckBox(IDC_DISPLAY_TEXTURES)),
    Row(FIELD(txtr_save_dir_same), 0, kToken, RadioPair(IDC_SAVE_DIR_SAME, IDC_SAVE_DIR_SPECIFIC)),
    Row(FIELD(txtr_save_dir), kToken, DirectoryText(IDC_SAVE_DIR)),
    Row(FIELD(txtr_ref_dir_strip), 0, kToken, AutoCheckBox(IDC_REF_DIR_STRIP)),
    Row(FIELD(txtr_ref_dir_specific), 0, kToken, AutoCheckBox(IDC_REF_DIR_SPECIFIC)),
    Row(FIELD(txtr_ref_dir), kToken, DirectoryText(IDC_REF_DIR)),
    Row(FIELD(import_lights), 1, kToken, CheckBox(IDC_IMPORT_LIGHTS)),
    Row(FIELD(import_cameras), 1, kToken, CheckBox(IDC_IMPORT_CAMERAS)),
    Row(FIELD(import_materials), 1, kToken, CheckBox(IDC_IMPORT_MATERIALS)),
    Row(FIELD(flip_y_up), 0, kToken, CheckBox(IDC_FLIP_Y_UP)),
    Row(FIELD(quick_naming), 0, kToken, CheckBox(IDC_QUICK_NAMING)),
    Row(FIELD(add_camera_headlight), 0, kToken, CheckBox(IDC_CAMERA_HEADLIGHT)),
    Row(FIELD(print_stats), 1, kToken, CheckBox(IDC_PRINT_STATS)),
    Row(FIELD(alpha_source), 0, kToken, List(IDC_ALPHA_SOURCE, kAlphaSources)),
    Row(FIELD(alpha_invert), 0, kToken, AutoCheckBox(IDC_ALPHA_INVERT)),
    Row(FIELD(transparency_source), 2, kToken, ReversedList(IDC_TRANSPARENCY_SOURCE, kTransparencySources)),
    Row(FIELD(optimize_hierarchy1), 1, kFileOnly, CheckBox(IDC_OPTIMIZE_HIERARCHY1)),
    Row(FIELD(optimize_hierarchy2), 1, kFileOnly, CheckBox(IDC_OPTIMIZE_HIERARCHY2)),
    Row(FIELD(optimize_number_of_objects), 0, kFileOnly, CheckBox(IDC_OPTIMIZE_OBJECTS)),
    Row(FIELD(forceWeldVertices), 1, kFileOnly, CheckBox(IDC_WELD_VERTICES)),
    Row(FIELD(forceWeldNormals), 1, kFileOnly, CheckBox(IDC_WELD_NORMALS)),
    Row(FIELD(forceWeldTexCoords), 1, kFileOnly, CheckBox(IDC_WELD_TEXCOORDS)),
    Row(FIELD(forceWeldVertexColors), 1, kFileOnly, CheckBox(IDC_WELD_VERTEX_COLORS)),
    Row(FIELD(smoothing_angle), 45.0f, kFileOnly, NumberEdit(IDC_SMOOTHING_ANGLE, kSmoothingAngle)),
    Row(FIELD(calc_smoothed_normals), 0, kFileOnly, CheckBox(IDC_SMOOTH_NORMALS)),
    Row(FIELD(WeldVerticesThreshold), 0.0001f, kFileOnly,
        NumberEdit(IDC_WELD_VERTICES_THRESHOLD, WeldThreshold("The vertex welding threshold must be greater than 0."))),
    Row(FIELD(WeldTexCoordsThreshold), 0.0001f, kFileOnly,
        NumberEdit(IDC_WELD_TEXCOORDS_THRESHOLD,
                   WeldThreshold("The vertex texture coordinate welding threshold must be greater than 0."))),
    Row(FIELD(WeldVertexColorsThreshold), 0.0001f, kFileOnly,
        NumberEdit(IDC_WELD_VERTEX_COLORS_THRESHOLD,
                   WeldThreshold("The vertex colors welding threshold must be greater than 0."))),
    Row(FIELD(WeldNormalsThreshold), 0.0001f, kFileOnly,
        NumberEdit(IDC_WELD_NORMALS_THRESHOLD,
                   WeldThreshold("The vertex normals welding threshold must be greater than 0."))),
    Row(FIELD(EnaMergePolygons), 0, kFileOnly, CheckBox(IDC_MERGE_POLYGONS)),
    Row(FIELD(MergePolygonsQuadsOnly), 1, kFileOnly, CheckBox(IDC_MERGE_QUADS_ONLY)),
    Row(FIELD(MergePolygonsCoplanarAngle), 0.1f, kFileOnly,
        NumberEdit(IDC_MERGE_COPLANAR_ANGLE,
                   {NumberRule::kNotBelow, 0.0, "The co-plaar angle must be greater than or equal to 0.0.", "Error",
                    AcceptStage::kAfterTextureDirectory})),
    Row(FIELD(ImportTextureReferences), 1, kFileOnly, CheckBox(IDC_IMPORT_TEXTURE_REFERENCES)),
    Row(FIELD(ImportVertexNormals), 1, kFileOnly, CheckBox(IDC_IMPORT_VERTEX_NORMALS)),
    Row(FIELD(ImportuvTextureCoordinates), 1, kFileOnly, CheckBox(IDC_IMPORT_UV_COORDINATES)),
    Row(FIELD(ImportVertexColors), 1, kFileOnly, CheckBox(IDC_IMPORT_VERTEX_COLORS)),
    Module("last-surf-attr-combo-selected", OptionFormat::kIndex16, &last_surf_attr_combo_selected, 0),
    MODIFIER("ambient", kAttrAmbient, kOpImportUnchanged),
    MODIFIER("diffuse", kAttrDiffuse, kOpNormalize),
    MODIFIER("specular", kAttrSpecular, kOpNormalize),
    MODIFIER("luminous", kAttrLuminous, kOpSetValue),
    MODIFIER("reflect", kAttrReflect, kOpImportUnchanged),
    MODIFIER("opacity", kAttrOpacity, kOpImportUnchanged),
    MODIFIER("ior", kAttrIor, kOpImportUnchanged),
    MODIFIER("phong", kAttrPhong, kOpImportUnchanged),
    Row(FIELD(lod_source), 0, kToken, List(IDC_LOD_SOURCE, kLodSources)),
    Row(FIELD(nthlod), 1, kToken,
        IntegerEdit(IDC_LOD_LEVEL, {NumberRule::kNotBelow, 1.0, "The LOD number must be greater than 0",
                                    "Runtime Option Error", AcceptStage::kBeforeTextureDirectory})),
};

const OptionRow run_only_options[kRunOnlyOptionCount] = {
    Row(FIELD(count_in_traversal_state), 0, kToken, NoControl()),
    Row(FIELD(max_triangles), 0, kToken, NoControl()),
    Row(FIELD(import_lines_and_points), 0, kToken, NoControl()),
    Row(FIELD(exact_shininess), 0, kToken, NoControl()),
    Row(FIELD(cull_solid_shapes), 0, kToken, NoControl()),
    Row(FIELD(import_ambient_color), 0, kToken, NoControl()),
};

#undef MODIFIER
#undef FIELD

const OptionRow *FindOption(const char *key) {
  for (const OptionRow &row : option_table) {
    if (std::strcmp(row.key, key) == 0) return &row;
  }
  return nullptr;
}

const OptionRow *FindRunToken(const char *token) {
  const OptionRow *row = FindOption(token);
  if (row) return row->token ? row : nullptr;
  for (const OptionRow &extra : run_only_options) {
    if (std::strcmp(extra.key, token) == 0) return &extra;
  }
  return nullptr;
}

const OptionRow *FindOptionControl(int id) {
  for (const OptionRow &row : option_table) {
    const OptionControl &control = row.control;
    if (control.kind == OptionControlKind::kNone) continue;
    if (control.id == id || (control.kind == OptionControlKind::kRadioPair && control.second_id == id)) return &row;
  }
  return nullptr;
}
