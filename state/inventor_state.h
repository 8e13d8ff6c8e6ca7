// The one state record of the module and the records it lists.
#ifndef STATE_INVENTOR_STATE_H
#define STATE_INVENTOR_STATE_H

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <Inventor/SbColor.h>
#include <Inventor/SbDict.h>
#include <Inventor/SbMatrix.h>
#include <Inventor/SbString.h>
#include <Inventor/SoPrimitiveVertex.h>
#include <Inventor/elements/SoTextureImageElement.h>
#include <Inventor/lists/SbPList.h>

#include "host/host_records.h"
#include "state/import_options.h"

class SoGetPrimitiveCountAction;
class SoInput;
class SoNode;

// One captured material and, once listed, the surface made from it.
struct MaterialSnapshot {
  SbString name;                       // unique surface name; empty while only a candidate
  SbColor ambient{0, 0, 0};            // ambient colour of the material
  SbColor diffuse{0, 0, 0};            // diffuse colour
  SbColor specular{0, 0, 0};           // specular colour
  SbColor emissive{0, 0, 0};           // sent as the luminous colour
  float shininess = 0;                 // Coin3D shininess, 0..1
  float transparency = 0;              // 0 opaque
  const unsigned char *image = nullptr;  // embedded pixels, not owned; set only without a texture file
  SbString texture_file;               // current texture file name, empty when none
  SoTextureImageElement::Wrap wrap_s = SoTextureImageElement::REPEAT;  // texture wrap across s
  SoTextureImageElement::Wrap wrap_t = SoTextureImageElement::REPEAT;  // texture wrap across t
  MaterialSnapshot *next = nullptr;    // link in surface_list
};

// One instance made in the run, a group's or a shape's.
struct InstanceRecord {
  uint32_t parent_hash;                // SbString::hash of the parent's name; 0 for the root
  uint32_t object_hash;                // hash of the placed object's name; 0 for a group
  SbMatrix matrix;                     // model matrix at the node; identity for the root
  SbString name;                       // the instance's name in the host
  SoNode *node;                        // the group or shape node
  InstanceRecord *next;                // the record made before it
};

// One object made in the run.
struct ObjectRecord {
  int16_t kind;                        // kPolygonMeshObject (3): a polygon mesh made from a shape
  SbString name;                       // the object's name in the host
  SoNode *node;                        // the shape node
  ObjectRecord *next;                  // the record made before it
};

// Camera and light records hold just the unique name, for the clean-up.
struct NamedRecord {
  SbString name;                       // the camera's or light's unique name
  NamedRecord *next;                   // the record made before it
};

// One base name of a quick-naming table.
struct NameEntry {
  SbString name;                       // base name after cleaning
  int32_t count;                       // requests for this base name in the run
  NameEntry *next;                     // the entry made before it
};

// Per-shape working data from the shape pre-callback to its post-callback.
// The member defaults are the reset values (ResetShapeState).
// How a face shape is carried: as faces, or as what its draw style shows.
enum class ShapeOutline { kNone, kLines, kPoints };

struct ShapeAccumulator {
  int32_t material_binding = 2;        // SoMaterialBindingElement value, 2 overall
  int32_t material_color_count = 0;    // colours that would supply vertex colours
  int32_t triangles_received = 0;      // triangles delivered so far (or counted, while counting_in_state)
  int32_t counting_in_state = 0;       // 1 while the begin pass has Coin3D deliver the triangles only to count them
  int32_t trial_fill = 0;              // 1 while the begin pass fills a buffer sized by the node's own count
  int32_t filled_in_begin = 0;         // 1 when that fill was complete: the traversal must not fill again
  SbString base_name;                  // GetShapeName
  int32_t in_vertex_shape = 0;         // 1 between the vertex-shape pre and post callbacks
  int32_t single_material = 0;         // one surface covers the whole instance
  int32_t colors_from_emissive = 0;    // vertex colours from the emissive colours
  int32_t colors_past_end = 0;         // 1 once a corner's colour index fell outside material_color_count
  MaterialSnapshot last_face_material; // previous triangle's material (per-face surfaces)
  IndexedPolygons *polygons = nullptr; // the shape's buffer, owned by the import support library
  int16_t per_face_materials = 0;      // per-face surfaces are recorded
  int16_t clockwise = 0;               // shape hints declare clockwise ordering
  int32_t triangle_count = 0;          // counted in advance (line segments or points for line and point sets)
  int32_t vertex_index_count = 0;      // corners x triangle_count (6 x triangle_count for an outline of lines)
  int32_t vertex_count = 0;            // corners x triangle_count
  int32_t normal_count = 0;            // corners x triangle_count
  int32_t vertex_color_count = 0;      // corners x triangle_count with vertex colours, else 0
  int32_t texcoord_count = 0;          // corners x triangle_count
  SbMatrix texture_matrix;             // the shape's texture matrix, once texture_matrix_known
  int32_t texture_matrix_known = 0;    // 1 once read, at the shape's first stored primitive
  // With the import_lines_and_points token only: line and point sets
  // deliver segments (2 corners) and points (1); a face shape drawn as
  // lines or points delivers triangles, which the finish pass turns into
  // the polygons' edges or corners.
  int32_t corners = 3;                 // corners per delivered primitive
  ShapeOutline outline = ShapeOutline::kNone;
  std::vector<uint64_t> triangle_faces; // outlines: the face each triangle belongs to (FaceKey)
  int32_t data_flags = 0;              // kPolygonData, or kPolygonDataWithColors with vertex colours
  // NURBS surfaces only: the corners of our own tessellation (3 per
  // triangle), made by the begin pass and delivered from the shape
  // pre-callback, since Coin3D's tessellator needs OpenGL. Empty otherwise.
  std::vector<SoPrimitiveVertex> nurbs_corners;
};

enum { kShapeClassCount = 14 };

// Dictionary keys that stand for names within a run: equal names get equal
// keys and different names different ones. Keyed on a 32-bit hash of the
// name, two different names could collide; keyed on a Coin3D name, every
// name made in a run would stay in Coin3D's name table for good.
class NameKeys {
 public:
  SbDict::Key Key(const char *name) { return reinterpret_cast<SbDict::Key>(&*names_.insert(name).first); }
  void Clear() { names_.clear(); }

 private:
  std::unordered_set<std::string> names_;  // node-based: an element's address is stable
};

// The one state record of the module ("Inventor state struct"): the
// options, what a run builds, and the traversal's working data.
struct InventorState {
  InventorState();

  InstanceRecord *instance_list = nullptr;  // every instance made in the run, newest first
  ObjectRecord *object_list = nullptr;      // every object made in the run, newest first
  NamedRecord *camera_list = nullptr;       // the run's cameras by unique name, newest first
  NamedRecord *light_list = nullptr;        // the run's lights (headlights too), newest first
  MaterialSnapshot *surface_list = nullptr; // one snapshot per surface defined, newest first
  ImportOptions options;                    // the options of this state's runs
  NameEntry *instance_names = nullptr;      // quick-naming table of instances
  NameEntry *object_names = nullptr;        // quick-naming table of objects
  NameEntry *camera_names = nullptr;        // quick-naming table of cameras
  NameEntry *light_names = nullptr;         // quick-naming table of lights
  NameEntry *surface_names = nullptr;       // quick-naming table of surfaces
  NameEntry *texture_names = nullptr;       // quick-naming table of textures
  int32_t objects_created = 0;              // objects emitted in the run
  int32_t polygons_output = 0;              // polygons emitted in the run
  int32_t cameras_created = 0;              // cameras made in the run
  int32_t lights_created = 0;               // lights made in the run
  int32_t surfaces_created = 0;             // surfaces made in the run
  SbDict instance_name_dict;                // instance_names by name (251 buckets)
  SbDict object_name_dict;                  // object_names by name
  SbDict camera_name_dict;                  // camera_names by name
  SbDict light_name_dict;                   // light_names by name
  SbDict surface_name_dict;                 // surface_names by name
  SbDict texture_name_dict;                 // texture_names by name
  SbDict instance_dict;                     // instance_list's records by name
  SbDict object_dict;                       // object_list's records by name
  NameKeys name_keys;                       // the keys of the eight dictionaries above
  SoInput *input = nullptr;                 // the input being read; valid during the traversal
  SbPList parent_stack;                     // InstanceRecord pointers of the enclosing groups, innermost last
  SbString file_name;                       // path of the file being converted
  SbString material_name;                   // last SoMaterial node's name, or "surface"
  ShapeAccumulator shape;                   // the shape being converted
  int16_t shape_type_enabled[kShapeClassCount] = {};  // 1: that shape class is converted (class order)
  // Shape nodes' own triangle counts (the node alone, from a fresh state),
  // taken before the traversal and asked again for each use of a node.
  struct CountedShape {
    int32_t shape_class;
    int32_t triangles;
  };
  std::unordered_map<const void *, CountedShape> counted_alone;
  // The action that counts them, kept for the run: a new one sets up a
  // traversal state of its own, which takes longer than counting a cube.
  struct CountActionDeleter {
    void operator()(SoGetPrimitiveCountAction *action) const;
  };
  std::unique_ptr<SoGetPrimitiveCountAction, CountActionDeleter> count_action;
};

#endif
