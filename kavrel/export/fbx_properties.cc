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

void FbxProperties::Triple(const Double3 &value) {
  for (double v : value) out_.Double(v);
  out_.End();
}

void FbxProperties::Int(std::string_view name, int32_t value) {
  Begin(name, "int", "Integer", "");
  out_.Int32(value);
  out_.End();
}

void FbxProperties::Enum(std::string_view name, int32_t value) {
  Begin(name, "enum", "", "");
  out_.Int32(value);
  out_.End();
}

void FbxProperties::Bool(std::string_view name, bool value) {
  Begin(name, "bool", "", "");
  out_.Int32(value ? 1 : 0);
  out_.End();
}

void FbxProperties::Double(std::string_view name, double value) {
  Begin(name, "double", "Number", "");
  out_.Double(value);
  out_.End();
}

void FbxProperties::Number(std::string_view name, double value) {
  Begin(name, "Number", "", "A");
  out_.Double(value);
  out_.End();
}

void FbxProperties::Named(std::string_view name, double value) {
  Begin(name, name, "", "A");
  out_.Double(value);
  out_.End();
}

void FbxProperties::Color(std::string_view name, const Double3 &value) {
  Begin(name, "ColorRGB", "Color", "");
  Triple(value);
}

void FbxProperties::Vector(std::string_view name, const Double3 &value) {
  Begin(name, "Vector3D", "Vector", "");
  Triple(value);
}

void FbxProperties::Local(std::string_view name, const Double3 &value) {
  Begin(name, name, "", "A");
  Triple(value);
}

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
