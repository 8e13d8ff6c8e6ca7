// The parts of the VRML97 and X3D writer (vrml_writer.h): the encoding
// interface the scene traversal writes through, unique DEF names, and the
// traversal itself.
#ifndef KAVREL_EXPORT_VRML_STAGES_H
#define KAVREL_EXPORT_VRML_STAGES_H

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "kavrel/export/export_model.h"
#include "kavrel/export/group_vertices.h"
#include "kavrel/export/rotation.h"
#include "kavrel/export/text_output.h"
#include "kavrel/export/texture_copies.h"
#include "kavrel/export/vrml_writer.h"

namespace kavrel {

// One way of spelling a scene graph. The traversal calls it in an order
// both encodings take: a node's value fields (Bool, String, Strings,
// BeginValues...EndValues) before its node fields (BeginNode, Use,
// BeginNodes). Field names are VRML97's; the XML encoding places nodes by
// X3D's default container fields, which are the same fields.
class VrmlEncoding {
 public:
  virtual ~VrmlEncoding() = default;
  VrmlEncoding(const VrmlEncoding &) = delete;
  VrmlEncoding &operator=(const VrmlEncoding &) = delete;

  virtual void BeginFile() = 0;
  virtual void EndFile() = 0;
  // A line of comment where a node may stand.
  virtual void Comment(std::string_view text) = 0;

  // A field holding several nodes ("children", "choice").
  virtual void BeginNodes(const char *field) = 0;
  virtual void EndNodes() = 0;
  // A node in field (null: in a BeginNodes list or at the top), named def unless it is "".
  virtual void BeginNode(const char *field, const char *type, const std::string &def) = 0;
  virtual void EndNode() = 0;
  // The node of type named name, again.
  virtual void Use(const char *field, const char *type, const std::string &name) = 0;

  virtual void Bool(const char *field, bool value) = 0;
  virtual void String(const char *field, std::string_view value) = 0;
  virtual void Strings(const char *field, const std::vector<std::string> &values) = 0;
  // Numbers: BeginValues, a tuple per Tuple, Integer or Face, EndValues.
  virtual void BeginValues(const char *field, bool multiple) = 0;
  virtual void EndValues() = 0;
  void Tuple(const float *values, int count);
  void Integer(int64_t value);
  // One face or polyline of coordIndex: its indices and the -1 that ends it.
  void Indices(const uint32_t *indices, int count);

  // A field of one tuple of numbers, and of one number.
  void Field(const char *field, const float *values, int count);
  void Field(const char *field, float value) { Field(field, &value, 1); }

 protected:
  // first_on_new_line: a multiple-valued field's first tuple starts a line
  // of its own, as the tuples after it do.
  VrmlEncoding(TextOutput &out, bool first_on_new_line) : out_(out), first_on_new_line_(first_on_new_line) {}

  // A new line indented to the current depth (deep hierarchies are
  // indented no further than a few dozen levels).
  void NewLine();
  // Before a field's values; multiple: one tuple a line.
  void StartValues(bool multiple);

  TextOutput &out_;
  int depth_ = 0;                              // nesting, for indentation

 private:
  void StartTuple();

  const bool first_on_new_line_;
  bool multiple_ = false;                      // the values being written are a multiple-valued field's
  bool first_tuple_ = true;                    // no tuple of the current field written yet
};

std::unique_ptr<VrmlEncoding> MakeClassicEncoding(TextOutput &out);
std::unique_ptr<VrmlEncoding> MakeXmlEncoding(TextOutput &out);

// DEF names, valid in both encodings and unique in the file: ASCII
// letters, digits, '_' and '-', and the non-ASCII letters XML names take;
// any other character becomes '_', a name that starts with a digit or '-'
// (or is a VRML keyword) gets a '_' in front, and a name taken already is
// numbered on ("wheel_2").
class VrmlNames {
 public:
  std::string Unique(const std::string &name);

 private:
  std::unordered_map<std::string, int> taken_;  // names given -> the last number tried after them
};

// A name as a VRML97 and XML identifier (not yet unique).
std::string VrmlIdentifier(const std::string &name);

// What the file holds, for the summary line.
struct VrmlCounts {
  size_t transforms = 0;                       // one per placement
  size_t geometries = 0;                       // IndexedFaceSets, IndexedLineSets and PointSets written out (not USEd)
  size_t triangles = 0;                        // of those
  size_t lines = 0;                            // segments of those
  size_t points = 0;                           // of those
  size_t materials = 0;                        // Material nodes written out
  size_t textures = 0;                         // ImageTexture nodes written out
  size_t lights = 0;
  size_t viewpoints = 0;
};

// The traversal: the whole scene through one encoding.
class VrmlScene {
 public:
  VrmlScene(const ExportModel &model, const TextureCopies &textures, VrmlEncoding &out, ExportNotes &notes);

  void Write();
  const VrmlCounts &counts() const { return counts_; }

 private:
  // vrml_lights.cc
  void Lights();
  void Light(const ModelLight &light);
  void Viewpoints();
  float LightRadius(const Vec3 &position) const;

  // vrml_scene.cc
  void Placements();
  void Open(int32_t placement);
  void Close(int32_t placement);
  void TransformFields(const Matrix &local);
  void Rotation(const char *field, const Quaternion &rotation);

  // vrml_nodes.cc
  void Shapes(const ModelPlacement &placement);
  void Shape(int32_t mesh, PrimitiveKind kind, int32_t group, int32_t material);
  void Appearance(int32_t material, bool lit);
  void Material(int32_t material, bool lit);
  void ImageTexture(int32_t texture, const TextureCopy &copy);
  void Geometry(int32_t mesh, PrimitiveKind kind, int32_t group, const std::string &def);
  void Indexed(const char *field, const PrimitiveGroup &group, size_t vertices, const FlatMesh *orient_by);
  void Attribute(const char *field, const char *type, const char *values, const std::vector<float> &data,
                 int size, bool flip_v = false);

  const ExportModel &model_;
  const TextureCopies &textures_;
  VrmlEncoding &out_;
  ExportNotes &notes_;
  VrmlNames names_;
  VrmlCounts counts_;
  std::vector<std::vector<int32_t>> children_;  // by placement: its child placements
  std::vector<int32_t> mesh_placements_;       // by mesh: how many placements place it
  std::vector<std::string> material_defs_;     // by 2 x material + unlit: its DEF name once written
  std::vector<std::string> texture_defs_;      // by model texture: its DEF name once written
  // (mesh, kind, group, material) -> the DEF name of the Shape drawing it.
  std::map<std::tuple<int32_t, PrimitiveKind, int32_t, int32_t>, std::string> shape_defs_;
  // (mesh, kind, group) -> the DEF name of its geometry, when drawn with several instance surfaces.
  std::map<std::tuple<int32_t, PrimitiveKind, int32_t>, std::string> geometry_defs_;
  GroupVertices vertices_;                     // of the group being written
  Vec3 scene_center_{0, 0, 0};                 // of the placed meshes' bounds
  float scene_radius_ = 0;                     // half their diagonal
};

}  // namespace kavrel

#endif
