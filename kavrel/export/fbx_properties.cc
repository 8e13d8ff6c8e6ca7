#include "kavrel/export/fbx_properties.h"

namespace kavrel {

FbxProperties::FbxProperties(FbxBinary &out) : out_(out) { out_.Begin("Properties70"); }

FbxProperties::~FbxProperties() { out_.End(); }

void FbxProperties::Begin(std::string_view name, std::string_view type, std::string_view label,
                          std::string_view flags) {
  out_.Begin("P");
  out_.String(name);
  out_.String(type);
  out_.String(label);
  out_.String(flags);
}

void FbxProperties::IntProperty(std::string_view name, std::string_view type, std::string_view label,
                                int32_t value) {
  Begin(name, type, label, "");
  out_.Int32(value);
  out_.End();
}

void FbxProperties::DoubleProperty(std::string_view name, std::string_view type, std::string_view label,
                                   std::string_view flags, double value) {
  Begin(name, type, label, flags);
  out_.Double(value);
  out_.End();
}

void FbxProperties::TripleProperty(std::string_view name, std::string_view type, std::string_view label,
                                   std::string_view flags, const Double3 &value) {
  Begin(name, type, label, flags);
  for (double v : value) out_.Double(v);
  out_.End();
}

void FbxProperties::Int(std::string_view name, int32_t value) { IntProperty(name, "int", "Integer", value); }

void FbxProperties::Enum(std::string_view name, int32_t value) { IntProperty(name, "enum", "", value); }

void FbxProperties::Bool(std::string_view name, bool value) { IntProperty(name, "bool", "", value ? 1 : 0); }

void FbxProperties::Double(std::string_view name, double value) {
  DoubleProperty(name, "double", "Number", "", value);
}

void FbxProperties::Number(std::string_view name, double value) { DoubleProperty(name, "Number", "", "A", value); }

void FbxProperties::Named(std::string_view name, double value) { DoubleProperty(name, name, "", "A", value); }

void FbxProperties::Color(std::string_view name, const Double3 &value) {
  TripleProperty(name, "ColorRGB", "Color", "", value);
}

void FbxProperties::Vector(std::string_view name, const Double3 &value) {
  TripleProperty(name, "Vector3D", "Vector", "", value);
}

void FbxProperties::Local(std::string_view name, const Double3 &value) { TripleProperty(name, name, "", "A", value); }

void FbxProperties::String(std::string_view name, std::string_view value) {
  Begin(name, "KString", "", "");
  out_.String(value);
  out_.End();
}

void FbxProperties::Time(std::string_view name, int64_t value) {
  Begin(name, "KTime", "Time", "");
  out_.Int64(value);
  out_.End();
}

}  // namespace kavrel
