// The host's in-memory scene database: the data model that the Kv_* calls
// change, the import support library fills and the exporters read.
#ifndef KAVREL_TOOLKIT_SCENE_H
#define KAVREL_TOOLKIT_SCENE_H

#include <array>
#include <cstdint>
#include <deque>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "kavrel/mesh/mesh.h"

namespace kavrel {

struct Object {
  std::string name;
  Mesh mesh;
  Vec3 bbox_min{0, 0, 0};
  Vec3 bbox_max{0, 0, 0};
  bool bounded = false;                        // the box came with the mesh; else Kv_Object_End works it out
  bool defined = false;                        // between Kv_Object_Define and Kv_Object_End: false
  bool checked = false;                        // the mesh passed CheckMesh on its way in; operations keep it so
  size_t corners_at_end = 0;                   // the mesh's corners at Kv_Object_End: where work on the mesh
                                               // runs is decided by this, never by the mesh that work changes
};

constexpr int32_t kNone = -1;

struct Instance {
  std::string name;
  Matrix matrix = IdentityMatrix();            // local, relative to the parent
  int32_t object = kNone;                      // index into Scene::objects
  int32_t parent = kNone;                      // index into Scene::instances; kNone for "world" and detached ones
  std::vector<int32_t> children;               // indices into Scene::instances, in attach order
  bool hidden = false;
  bool cull_back_faces = false;                // its object's back faces are not drawn ("cullbackfaces")
  std::string surface;                         // linked surface name, "" for none
  bool removed = false;                        // tombstone: removed by an optimiser or Kv_Remove
};

struct TextureLayer {
  std::string layer;                           // "layer 1"
  bool enabled = false;
  std::string texture;                         // linked texture name
  float uscale = 1, vscale = 1, uoffset = 0, voffset = 0;
  bool alpha_modulates_opacity = false;        // "modulate" "faceopacity" ... "alphachan"
};

struct Surface {
  std::string name;
  bool specular_enabled = false, luminous_enabled = false, ambient_enabled = false;
  std::string model = "phong";
  Vec3 diffuse_color{0.8f, 0.8f, 0.8f};
  float diffuse_coeff = 1.0f;
  Vec3 specular_color{1, 1, 1};
  float specular_coeff = 0.0f;
  Vec3 luminous_color{0, 0, 0};
  float luminous_coeff = 0.0f;
  int32_t phong_shininess = 32;
  float phong_exponent = -1.0f;                // the untruncated exponent ("model exponent"); negative: not sent
  Vec3 ambient_color{0.2f, 0.2f, 0.2f};        // "ambientcolor color rgb"; Inventor's default until sent
  float opacity = 1.0f;                        // face opacity, 1 opaque
  std::vector<TextureLayer> layers;
};

struct Texture {
  std::string name;
  int32_t file_type = 0;                       // Kv_Determine_Image_File_Type value
  std::string path;
  bool enabled = false;
  std::string alpha_source = "type1";          // "type1", "type3", "type4" or "off"
  bool alpha_invert = false;
  bool wrap_u = true, wrap_v = true;
  std::string filter = "mipmap";
};

struct Light {
  std::string name;
  std::string model = "point";                 // "direction", "point", "spot", "ambient"
  Vec3 color{1, 1, 1};
  bool enabled = true;
  float intensity = 1.0f;
  Vec3 shinedir{0, 0, 1};                      // towards the light (directional)
  Vec3 shinefrom{0, 0, 0};                     // position (point, spot)
  Vec3 shineat{0, 0, -1};                      // aim point (spot)
  int32_t decay = 0;                           // 0 none, 1 linear, 2 quadratic
  float distance = 100.0f;
  float cutoff = 45.0f;                        // half cone angle, degrees
  float delta = 0.0f;
};

struct Camera {
  std::string name;
  bool active = false;
  std::string form_mapping = "";
  float focal_length = 5.0f;
  float twist = 0.0f;
  std::array<float, 2> window{4.1421347f, 4.1421347f};  // film window width, height
  Vec3 lookfrom{0, 0, 10};
  Vec3 lookat{0, 0, 0};
  Vec3 lookup{0, 1, 0};
  std::string projection = "perspective";     // or "orthographic"
};

struct OutputDriver {
  std::string name;
  std::string kind;                            // "file" or "display"
  std::string format;                          // "tiff" for file drivers
  std::string filename;
  std::string mode;                            // "a", "rgb", "rgba"
  std::string description;
  bool enabled = true;
};

// Looks entities up by name in constant expected time. Items stay where
// they are while the table grows when Items is a deque.
template <typename T, typename Items = std::vector<T>>
struct NamedTable {
  Items items;
  std::unordered_map<std::string, int32_t> index;

  T *find(const std::string &name) {
    auto it = index.find(name);
    return it == index.end() ? nullptr : &items[it->second];
  }
  const T *find(const std::string &name) const {
    auto it = index.find(name);
    return it == index.end() ? nullptr : &items[it->second];
  }
  int32_t find_index(const std::string &name) const {
    auto it = index.find(name);
    return it == index.end() ? kNone : it->second;
  }
  // Returns the entity of that name, made with defaults when missing.
  T &get_or_add(const std::string &name) {
    auto it = index.find(name);
    if (it != index.end()) return items[it->second];
    index.emplace(name, static_cast<int32_t>(items.size()));
    items.emplace_back();
    items.back().name = name;
    return items.back();
  }
  void erase(const std::string &name) { index.erase(name); }  // the slot stays, unreachable
};

struct Scene {
  NamedTable<Instance> instances;              // "world" is instance 0 from the start
  NamedTable<Object, std::deque<Object>> objects;  // in place: mesh work runs on them beside the calls
  NamedTable<Surface> surfaces;
  NamedTable<Texture> textures;
  NamedTable<Light> lights;
  NamedTable<Camera> cameras;
  NamedTable<OutputDriver> drivers;            // "driver1", the display driver, exists from the start
  std::unordered_map<std::string, std::string> options;  // "confirm overwrites enabled" -> "on"/"off"
  int32_t object_being_defined = kNone;        // between Kv_Object_Define and Kv_Object_End, else kNone
  std::set<std::string> images_written;        // paths of the image files Kv_Image_Save finished

  Scene();                                     // "world", the display driver and the default options
};

// True when the object's mesh is well formed: known from its way in, or
// checked now (a mesh put into the database by other means).
bool WellFormed(const Object &object);

// World matrix of an instance: its local matrix composed with its parents'.
Matrix WorldMatrix(const Scene &scene, int32_t instance);

}  // namespace kavrel

#endif
