// A "Properties70" record of a binary FBX: one "P" record per property,
// each its name, type name, label and flags ("A": animatable), then its
// values. The type names are the ones the importers check (Blender's
// asserts on them): "int"/"Integer", "enum", "bool" (an int32), "double"/
// "Number", "ColorRGB"/"Color", "Vector3D"/"Vector", "KString", "KTime"/
// "Time", and the model's "Lcl Translation", "Lcl Rotation", "Lcl Scaling".
#ifndef KAVREL_EXPORT_FBX_PROPERTIES_H
#define KAVREL_EXPORT_FBX_PROPERTIES_H

#include <array>
#include <cstdint>
#include <string_view>

#include "kavrel/export/fbx_binary.h"

namespace kavrel {

using Double3 = std::array<double, 3>;

// Begins the record when made, ends it when destroyed.
class FbxProperties {
 public:
  explicit FbxProperties(FbxBinary &out);
  ~FbxProperties();
  FbxProperties(const FbxProperties &) = delete;
  FbxProperties &operator=(const FbxProperties &) = delete;

  void Int(std::string_view name, int32_t value);
  void Enum(std::string_view name, int32_t value);
  void Bool(std::string_view name, bool value);
  void Double(std::string_view name, double value);
  // A double that animation may drive ("Number", flag "A").
  void Number(std::string_view name, double value);
  void Color(std::string_view name, const Double3 &value);
  void Vector(std::string_view name, const Double3 &value);
  // "Lcl Translation", "Lcl Rotation", "Lcl Scaling": the type is the name.
  void Local(std::string_view name, const Double3 &value);
  void String(std::string_view name, std::string_view value);
  void Time(std::string_view name, int64_t value);
  // A double whose type is its own name ("FieldOfView"), as cameras have.
  void Named(std::string_view name, double value);

 private:
  void Begin(std::string_view name, std::string_view type, std::string_view label, std::string_view flags);
  void IntProperty(std::string_view name, std::string_view type, std::string_view label, int32_t value);
  void DoubleProperty(std::string_view name, std::string_view type, std::string_view label, std::string_view flags,
                      double value);
  void TripleProperty(std::string_view name, std::string_view type, std::string_view label, std::string_view flags,
                      const Double3 &value);

  FbxBinary &out_;
};

}  // namespace kavrel

#endif
