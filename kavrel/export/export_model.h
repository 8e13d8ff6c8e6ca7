// The scene prepared for writing: the one data model every writer reads
// (glTF, OBJ, FBX, the assimp bridge, and the writers to come). BuildExportModel
// makes it once from the host's scene database; after that no writer looks
// at the scene itself. Plain records, indices between them, kNone (-1) for
// "none".
//
// What is decided here, once for every format:
// - the placements: the live instances below "world" in depth-first
//   pre-order (a parent before its children, children in attach order),
//   with their local and world matrices and whether the world matrix
//   mirrors;
// - the meshes: objects whose host meshes are the same byte for byte share
//   one mesh, flattened for writing (one index per vertex for all
//   attributes, triangles with counter-clockwise fronts, one triangle
//   group per face surface, and as many line and point groups for the
//   host's polygons of two corners and of one) and tested for sidedness;
// - the materials: one per surface and sidedness in use (a surface used by
//   single- and double-sided meshes becomes two), the plain white default
//   for shapes without a surface, each with its texture;
// - the lights that are switched on, and the cameras.
// Repairs of bad data (non-finite numbers, polygons with an index out of
// range, ...) are counted in ExportModel::repairs; a writer adds its own
// and reports them once.
#ifndef KAVREL_EXPORT_EXPORT_MODEL_H
#define KAVREL_EXPORT_EXPORT_MODEL_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "kavrel/export/export_notes.h"
#include "kavrel/toolkit/scene.h"

namespace kavrel {

// What a group of a flat mesh draws, and the vertices each of its primitives has.
enum class PrimitiveKind { kTriangles = 3, kLines = 2, kPoints = 1 };
constexpr PrimitiveKind kPrimitiveKinds[] = {PrimitiveKind::kTriangles, PrimitiveKind::kLines, PrimitiveKind::kPoints};
constexpr size_t VerticesPer(PrimitiveKind kind) { return static_cast<size_t>(kind); }

// Triangles, line segments or points of a mesh drawn with one material; the
// FlatMesh list that holds the group says which.
struct PrimitiveGroup {
  // Index into the host mesh's surface_names; kNone: the instance's surface.
  int32_t surface = kNone;
  int32_t material = kNone;                    // index into ExportModel::materials; kNone: the placing instance's
  // Vertices: three per triangle, counter-clockwise seen from the front;
  // two per segment; one per point.
  std::vector<uint32_t> indices;
};
using TriangleGroup = PrimitiveGroup;          // a group of FlatMesh::groups

// A host mesh flattened: every vertex is one distinct combination of the
// corners' stream indices, so that every attribute has one index per
// vertex and per-corner data is per-vertex data. Segments and points use
// the vertices as triangles do; writers leave out their normals and
// texture coordinates (they have no surface to light or paint).
struct FlatMesh {
  std::vector<float> positions;                // x, y, z per vertex
  std::vector<float> normals;                  // unit x, y, z per vertex; empty when the mesh has none
  std::vector<float> texcoords;                // u, v per vertex with v running downwards (v = 1 - t); empty when none
  std::vector<float> colors;                   // r, g, b per vertex in 0..1; empty when none
  // Groups with at least one primitive, each list with the instance's
  // surface first, then by face surface.
  std::vector<TriangleGroup> groups;           // triangles: three vertices each
  std::vector<PrimitiveGroup> line_groups;     // line segments (the host's polygons of two corners): two vertices each
  std::vector<PrimitiveGroup> point_groups;    // points (the host's polygons of one corner): one vertex each

  size_t vertex_count() const { return positions.size() / 3; }
  bool empty() const { return groups.empty() && line_groups.empty() && point_groups.empty(); }
  const std::vector<PrimitiveGroup> &GroupsOf(PrimitiveKind kind) const {
    return kind == PrimitiveKind::kTriangles ? groups : kind == PrimitiveKind::kLines ? line_groups : point_groups;
  }
  std::vector<PrimitiveGroup> &GroupsOf(PrimitiveKind kind) {
    return kind == PrimitiveKind::kTriangles ? groups : kind == PrimitiveKind::kLines ? line_groups : point_groups;
  }
};

// Calls visit(kind, group) for every group of flat (a FlatMesh, const or
// not): the triangle groups, then the line groups, then the point groups.
template <typename Flat, typename Visit>
void ForEachGroup(Flat &flat, Visit visit) {
  for (PrimitiveKind kind : kPrimitiveKinds)
    for (auto &group : flat.GroupsOf(kind)) visit(kind, group);
}

// One geometry, shared by every object whose host mesh has the same bytes.
struct ModelMesh {
  std::string name;                            // the name of the first object placed with it
  FlatMesh flat;                               // its vertices and groups; never empty (but may hold no triangles)
  // Back faces may show (see DrawnDoubleSided; decided by the triangles
  // alone, so a mesh of lines or points only is double-sided); its materials say so.
  bool double_sided = true;
  bool instance_surface = false;               // a group is drawn with the placing instance's surface
  ExportNotes repairs;                         // made while flattening; counted in ExportModel::repairs once per object
};

// An object of the scene that some placement places.
struct ModelObject {
  std::string name;                            // the object's name
  int32_t scene_object = kNone;                // index into Scene::objects
  int32_t mesh = kNone;                        // index into ExportModel::meshes; kNone when it draws nothing
  bool culled = false;                         // every placement of it culls its back faces
  // The distinct materials of its placements' surfaces, in order of first
  // placement; empty unless its mesh draws a group with the instance's surface.
  std::vector<int32_t> instance_materials;
};

// A live instance below "world".
struct ModelPlacement {
  std::string name;                            // the instance's name
  int32_t instance = kNone;                    // index into Scene::instances
  int32_t parent = kNone;                      // index into ExportModel::placements, always lower; kNone below "world"
  Matrix local{};                              // the instance's matrix (row vectors), non-finite parts as identity
  Matrix world{};                              // local x the parent's world: where its points land in the scene
  bool mirrors = false;                        // world's linear part has a negative determinant: fronts turn to backs
  bool hidden = false;                         // hidden in the host; still written
  int32_t object = kNone;                      // index into ExportModel::objects; kNone when it places none
  int32_t mesh = kNone;                        // the object's mesh; kNone when there is nothing to draw
  // The material of the mesh's group drawn with this instance's surface;
  // kNone when the mesh has no such group.
  int32_t instance_material = kNone;
};

// A texture image that a material uses.
struct ModelTexture {
  int32_t scene_texture = kNone;               // index into Scene::textures
  Texture record;                              // the host's texture: name, image, wrapping, filter, alpha
};

// A surface (or the default) as drawn on meshes of one sidedness. Colours
// are products of the host's colour and coefficient, clamped into 0..1.
struct ModelMaterial {
  int32_t surface = kNone;                     // index into Scene::surfaces; kNone: the plain white default
  bool double_sided = true;                    // for meshes whose back faces may show
  std::string name;                            // the surface's name, "default" for the default
  // name, with " double-sided" or " single-sided" added when the surface's
  // other sidedness comes first (for formats that find materials by name).
  std::string distinct_name;
  Vec3 diffuse{1, 1, 1};                       // diffuse colour
  Vec3 specular{0, 0, 0};                      // specular colour
  Vec3 emissive{0, 0, 0};                      // luminous colour
  Vec3 ambient{0.2f, 0.2f, 0.2f};              // ambient colour, Inventor's default unless the plug-in sent one
  float opacity = 1;                           // face opacity in 0..1, 1 opaque
  float shininess = 32;                        // Phong exponent, at least 0
  int32_t texture = kNone;                     // into ExportModel::textures: the first enabled layer's; kNone: none
  bool texture_alpha_opacity = false;          // the texture's alpha drives the opacity
};

enum class LightKind { kDirectional, kPoint, kSpot, kAmbient };

// A light that is switched on, in world space, with the host's values as
// they are (writers clamp them to what their format takes).
struct ModelLight {
  std::string name;                            // the light's name
  LightKind kind = LightKind::kPoint;
  Vec3 color{1, 1, 1};                         // may exceed 1
  float intensity = 1;
  Vec3 towards{0, 0, 1};                       // directional: the direction towards the light
  Vec3 position{0, 0, 0};                      // point and spot: where it shines from
  Vec3 aim{0, 0, -1};                          // spot: the point it shines at
  float cutoff = 45;                           // spot: half the cone's angle, degrees
  int32_t decay = 0;                           // fall-off with distance: 0 none, 1 linear, 2 quadratic
};

// A camera in world space, with the host's lens values as they are.
struct ModelCamera {
  std::string name;                            // the camera's name
  bool orthographic = false;                   // else perspective
  float focal_length = 5;                      // with window: the field of view
  std::array<float, 2> window{4.1421347f, 4.1421347f};  // film window width and height
  Vec3 eye{0, 0, 10};                          // where it looks from
  Vec3 target{0, 0, 0};                        // the point it looks at
  Vec3 up{0, 1, 0};                            // the direction that is up in its view
};

struct ExportModel {
  std::vector<ModelPlacement> placements;      // depth-first pre-order from "world"
  std::vector<ModelObject> objects;            // the placed objects, by their index in the scene
  std::vector<ModelMesh> meshes;               // in order of first placement
  // Objects in order, their groups in order (triangles, lines, points),
  // the instances' surfaces in order of first placement; never empty (the
  // default when nothing else).
  std::vector<ModelMaterial> materials;
  std::vector<ModelTexture> textures;          // in order of first use by materials
  std::vector<ModelLight> lights;              // live and switched on, in the scene's order
  std::vector<ModelCamera> cameras;            // live, in the scene's order
  ExportNotes repairs;                         // bad data left out or replaced
  std::vector<std::string> warnings;           // what the writer reports before it writes, one line each
};

// The scene prepared for writing. Meshes are flattened and tested for
// sidedness on several threads (see PrepareMeshes); the model is the same
// whatever the thread count or timing.
ExportModel BuildExportModel(const Scene &scene);

// The material a group of a mesh is drawn with when placement places it.
inline int32_t GroupMaterial(const PrimitiveGroup &group, const ModelPlacement &placement) {
  return group.material != kNone ? group.material : placement.instance_material;
}

}  // namespace kavrel

#endif
