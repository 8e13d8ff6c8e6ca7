// The one state record of the module and the records it lists.
#ifndef PLUGIN_INVENTOR_STATE_H
#define PLUGIN_INVENTOR_STATE_H

#include <cstdint>
#include <string>
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
#include "plugin/import_options.h"

class SoInput;
class SoNode;

// One captured material and, once listed, the surface made from it.
struct MaterialSnapshot {
  SbString name;                       // unique surface name; empty while only a candidate
  SbColor ambient{0, 0, 0};
  SbColor diffuse{0, 0, 0};
  SbColor specular{0, 0, 0};
  SbColor emissive{0, 0, 0};           // sent as the luminous colour
  float shininess = 0;                 // Coin3D shininess, 0..1
  float transparency = 0;              // 0 opaque
  const unsigned char *image = nullptr;  // embedded pixels, not owned; set only without a texture file
  SbString texture_file;               // current texture file name, empty when none
  SoTextureImageElement::Wrap wrap_s = SoTextureImageElement::REPEAT;
  SoTextureImageElement::Wrap wrap_t = SoTextureImageElement::REPEAT;
  MaterialSnapshot *next = nullptr;    // link in surface_list
};

struct InstanceRecord {
  uint32_t parent_hash;                // SbString::hash of the parent's name; 0 for the root
  uint32_t object_hash;                // hash of the placed object's name; 0 for a group
  SbMatrix matrix;                     // model matrix at the node; identity for the root
  SbString name;                       // the instance's name in the host
  SoNode *node;                        // the group or shape node
  InstanceRecord *next;                // the record made before it
};

struct ObjectRecord {
  int16_t kind;                        // 3: polygon mesh made from a shape
  SbString name;
  SoNode *node;                        // the shape node
  ObjectRecord *next;
};

// Camera and light records hold just the unique name, for the clean-up.
struct NamedRecord {
  SbString name;
  NamedRecord *next;
};

struct NameEntry {
  SbString name;                       // base name after cleaning
  int32_t count;                       // requests for this base name in the run
  NameEntry *next;                     // the entry made before it
};

// Per-shape working data from the shape pre-callback to its post-callback.
// The member defaults are the reset values (ResetShapeState).
struct ShapeAccumulator {
  int32_t material_binding = 2;        // SoMaterialBindingElement value, 2 overall
  int32_t material_color_count = 0;    // colours that would supply vertex colours
  int32_t triangles_received = 0;      // triangles delivered so far (or counted, while counting_in_state)
  int32_t counting_in_state = 0;       // 1 while the begin pass has Coin3D deliver the triangles only to count them
  SbString base_name;                  // GetShapeName
  int32_t in_vertex_shape = 0;         // 1 between the vertex-shape pre and post callbacks
  int32_t single_material = 0;         // one surface covers the whole instance
  int32_t colors_from_emissive = 0;    // vertex colours from the emissive colours
  MaterialSnapshot last_face_material; // previous triangle's material (per-face surfaces)
  IndexedPolygons *polygons = nullptr; // the shape's buffer, owned by the import support library
  int16_t per_face_materials = 0;      // per-face surfaces are recorded
  int16_t clockwise = 0;               // shape hints declare clockwise ordering
  int32_t triangle_count = 0;          // counted in advance
  int32_t vertex_index_count = 0;      // 3 x triangle_count
  int32_t vertex_count = 0;            // 3 x triangle_count
  int32_t normal_count = 0;            // 3 x triangle_count
  int32_t vertex_color_count = 0;      // 3 x triangle_count with vertex colours, else 0
  int32_t texcoord_count = 0;          // 3 x triangle_count
  int32_t data_flags = 0;              // 5, or 7 with vertex colours
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

struct InventorState {
  InventorState();

  InstanceRecord *instance_list = nullptr;
  ObjectRecord *object_list = nullptr;
  NamedRecord *camera_list = nullptr;
  NamedRecord *light_list = nullptr;
  MaterialSnapshot *surface_list = nullptr;
  ImportOptions options;
  NameEntry *instance_names = nullptr;
  NameEntry *object_names = nullptr;
  NameEntry *camera_names = nullptr;
  NameEntry *light_names = nullptr;
  NameEntry *surface_names = nullptr;
  NameEntry *texture_names = nullptr;
  int32_t objects_created = 0;
  int32_t polygons_output = 0;
  int32_t cameras_created = 0;
  int32_t lights_created = 0;
  int32_t surfaces_created = 0;
  SbDict instance_name_dict;
  SbDict object_name_dict;
  SbDict camera_name_dict;
  SbDict light_name_dict;
  SbDict surface_name_dict;
  SbDict texture_name_dict;
  SbDict instance_dict;
  SbDict object_dict;
  NameKeys name_keys;                  // the keys of the eight dictionaries above
  SoInput *input = nullptr;            // valid during the traversal
  SbPList parent_stack;                // InstanceRecord pointers of the enclosing groups
  SbString file_name;                  // path of the file being converted
  SbString material_name;              // last SoMaterial node's name, or "surface"
  ShapeAccumulator shape;
  int16_t shape_type_enabled[kShapeClassCount] = {};
};

#endif
