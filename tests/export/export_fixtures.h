// Small scenes built straight into a Host's scene database, and ways to
// read back what the exporters wrote.
#ifndef KAVREL_TESTS_EXPORT_EXPORT_FIXTURES_H
#define KAVREL_TESTS_EXPORT_EXPORT_FIXTURES_H

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "kavrel/host.h"

namespace kavrel_test {

using kavrel::Mesh;
using kavrel::Scene;
using kavrel::Vec3;
using nlohmann::json;

kavrel::Instance &AddInstance(Scene &s, const std::string &name, const std::string &parent = "world");
int32_t AddObject(Scene &s, const std::string &name, const Mesh &mesh);
// Two unit squares side by side in the XY plane, counter-clockwise seen
// from +Z; texture coordinate t equals y.
Mesh TwoSquares();

// Line segments and points as the importer sends them (positions and
// colours): (0,0,0)-(1,0,0) with the instance's surface, (1,0,0)-(1,1,0)
// and (1,1,0)-(0,1,0) with "wire", the first again reversed, one with both
// ends on one point, the point (2,2,2) twice.
Mesh Wires();

// The scenes of the scenario tests; the validator test checks them all.
void BuildHierarchyScene(Scene &s);
void BuildMeshScene(Scene &s);
void BuildMaterialScene(Scene &s, const std::string &texture_path);
void BuildLightCameraScene(Scene &s);
// Wires() placed as "lines" with surface "dots", and TwoSquares() with a
// segment and a point appended as "mixed".
void BuildLinesScene(Scene &s);

std::string TempDir();                         // one per test process, removed at exit
struct GltfFile {
  json doc;
  std::vector<uint8_t> bin;                    // the .glb binary chunk
};
GltfFile ExportGlb(const kavrel::Host &host, const std::string &name);
const json &NodeNamed(const GltfFile &file, const std::string &name);

template <typename T>
std::vector<T> Accessor(const GltfFile &file, int accessor) {
  const json &a = file.doc["accessors"][accessor];
  const json &view = file.doc["bufferViews"][a["bufferView"].get<int>()];
  const std::string type = a["type"];
  std::vector<T> out(a["count"].get<size_t>() * (type == "SCALAR" ? 1 : type[3] - '0'));
  std::memcpy(out.data(), &file.bin[view["byteOffset"].get<size_t>()], out.size() * sizeof(T));
  return out;
}

// v turned by the unit quaternion q (x, y, z, w).
Vec3 Rotate(const json &q, const Vec3 &v);
void ExpectNear(const Vec3 &actual, const Vec3 &expected);

// An uncompressed SGI image, rows given top first.
void WriteSgiImage(const std::string &path, int width, int height, int components,
                   const std::vector<uint8_t> &pixels);

// The host's error reports captured while alive.
struct CapturedReports {
  explicit CapturedReports(kavrel::Host &host);
  ~CapturedReports();
  std::vector<std::pair<int, std::string>> errors;
  kavrel::Host &host;
  kavrel::ReportSinks saved;
};

}  // namespace kavrel_test

#endif
