// The import options record, the shading-coefficient modifiers beside it
// and the constant tables that describe them.
#ifndef STATE_IMPORT_OPTIONS_H
#define STATE_IMPORT_OPTIONS_H

#include <cstdint>

// Every field is named after its preference key. Flags are 16-bit: 1 on, 0 off.
struct ImportOptions {
  int16_t options_defaults_set;        // 1 once the defaults were applied
  int16_t alpha_source;                // 0 image, 1 chroma upper left, 2 chroma lower left, 3 opaque
  int16_t transparency_source;         // 0 texture alpha, 1 material, 2 follow Inventor
  int16_t alpha_invert;
  int16_t load_textures;               // extract embedded images
  int16_t display_textures;
  int16_t textures_confirm_overwrite;
  int16_t print_stats;
  int16_t txtr_save_dir_same;          // extracted textures beside the imported file
  char *txtr_save_dir;                 // owned, null = not set
  int16_t txtr_ref_dir_specific;       // replace texture reference directories
  int16_t txtr_ref_dir_strip;          // strip texture reference directories
  char *txtr_ref_dir;                  // owned, null = not set
  int16_t flip_y_up;
  int16_t import_lights;
  int16_t import_cameras;
  int16_t add_camera_headlight;
  int16_t import_materials;
  int16_t quick_naming;
  int16_t lod_source;                  // 0 first, 1 last, 2 nthlod
  int32_t nthlod;                      // 1-based LOD child for lod_source 2
  int16_t forceWeldVertices;
  int16_t forceWeldNormals;
  int16_t forceWeldTexCoords;
  int16_t forceWeldVertexColors;
  float smoothing_angle;               // degrees
  int16_t calc_smoothed_normals;
  int16_t optimize_hierarchy1;
  int16_t optimize_hierarchy2;
  int16_t optimize_number_of_objects;
  float WeldVerticesThreshold;
  float WeldTexCoordsThreshold;
  float WeldVertexColorsThreshold;
  float WeldNormalsThreshold;
  int16_t EnaMergePolygons;
  int16_t MergePolygonsQuadsOnly;
  float MergePolygonsCoplanarAngle;    // degrees
  int16_t ImportTextureReferences;
  int16_t ImportVertexNormals;         // stored and edited only
  int16_t ImportuvTextureCoordinates;  // stored and edited only
  int16_t ImportVertexColors;          // stored and edited only
  // Run-time tokens of our own host, neither stored nor edited; each run
  // starts them from their defaults.
  int16_t count_in_traversal_state;    // 1: count a shape's triangles in the traversal's state
  int32_t max_triangles;               // refuse scenes that would make more triangles; 0 = no limit
  int16_t import_lines_and_points;     // 1: line and point sets, and shapes drawn as lines or points, as segments and points
  int16_t exact_shininess;             // 1: the Phong exponent also goes as a float, untruncated
  int16_t cull_solid_shapes;           // 1: instances of shapes whose back faces Inventor culls say so
  int16_t import_ambient_color;        // 1: a surface's ambient colour goes to the host as it is
};

// Shading attributes, in table order (the index is the attribute code).
enum SurfaceAttribute {
  kAttrAmbient = 0,
  kAttrDiffuse = 1,
  kAttrSpecular = 2,
  kAttrLuminous = 3,
  kAttrReflect = 4,
  kAttrOpacity = 5,
  kAttrIor = 6,
  kAttrPhong = 7,
  kSurfaceAttributeCount = 8
};

enum SurfaceOperation {
  kOpDoNotImport = 0,
  kOpImportUnchanged = 1,
  kOpSetDefault = 2,
  kOpSetValue = 3,
  kOpCrop = 4,
  kOpScale = 5,
  kOpNormalize = 6
};

struct SurfAttrRow {
  const char *name;                    // display name, "Ambient Coeff"
  int32_t code;                        // equals the row index
  float default_value;
  float minimum;
  float maximum;
};

struct SurfAttrOperationRow {
  const char *name;                    // display name, "Do not import"; "" ends the table
  int32_t code;
};

// The attributes with their labels, defaults and the ranges the options
// dialog enforces; constant so that the option table can take the defaults.
inline constexpr SurfAttrRow surf_attr_table[kSurfaceAttributeCount] = {
    {"Ambient Coeff", kAttrAmbient, 0.3f, 0.0f, 1.0f},
    {"Diffuse Coeff", kAttrDiffuse, 0.4f, 0.0f, 1.0f},
    {"Specular Coeff", kAttrSpecular, 0.7f, 0.0f, 5.0f},
    {"Luminous Coeff", kAttrLuminous, 0.0f, 0.0f, 1.0f},
    {"Reflection Coeff", kAttrReflect, 0.0f, 0.0f, 1.0f},
    {"Opacity", kAttrOpacity, 1.0f, 0.0f, 1.0f},
    {"IOR", kAttrIor, 1.0f, 0.05f, 5.0f},
    {"Phong Shininess", kAttrPhong, 32.0f, 0.0f, 300.0f},
};
extern const SurfAttrOperationRow surf_attr_operation_names[8];

// Module-level modifiers: surf-attr-mod-<attr>-operation and -value.
extern int16_t surf_attr_mod_operation[kSurfaceAttributeCount];
extern float surf_attr_mod_value[kSurfaceAttributeCount];
extern int16_t last_surf_attr_combo_selected;

#endif
