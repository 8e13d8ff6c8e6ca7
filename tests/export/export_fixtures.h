// Small scenes built straight into the scene database, and ways to read
// back what the exporters wrote.
#ifndef KAVREL_TESTS_EXPORT_EXPORT_FIXTURES_H
#define KAVREL_TESTS_EXPORT_EXPORT_FIXTURES_H

#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "kavrel/host.h"

namespace kavrel_test {

using kavrel::Matrix;
using kavrel::Mesh;
using kavrel::Scene;
using kavrel::Vec3;

// ---- scene building ----
Scene &FreshScene();
int32_t AddInstance(Scene &s, const std::string &name, const std::string &parent = "world",
                    const Matrix &matrix = kavrel::IdentityMatrix());
int32_t AddObject(Scene &s, const std::string &name, const Mesh &mesh);
Matrix Translation(float x, float y, float z);
// Two unit squares side by side in the XY plane, corners counter-clockwise
// seen from +Z, one normal per square, texture coordinates per position.
Mesh TwoSquares();

// The scenes of the scenario tests, reused by the validator test.
void BuildHierarchyScene(Scene &s);
void BuildMeshScene(Scene &s);
void BuildMaterialScene(Scene &s, const std::string &texture_path);
void BuildLightCameraScene(Scene &s);

// ---- reading exports ----
std::string TempDir();                         // one per test process
struct GltfFile {
  nlohmann::json json;
  std::vector<uint8_t> bin;                    // .glb binary chunk
};
GltfFile ExportGlb(const Scene &s, const std::string &name);
std::vector<float> AccessorFloats(const GltfFile &file, int accessor);
std::vector<uint32_t> AccessorIndices(const GltfFile &file, int accessor);
const nlohmann::json &NodeNamed(const GltfFile &file, const std::string &name);

// Rotates v by the unit quaternion q (x, y, z, w).
Vec3 Rotate(const std::vector<float> &q, const Vec3 &v);

// An uncompressed SGI image, rows given top first.
void WriteSgiImage(const std::string &path, int width, int height, int components,
                   const std::vector<uint8_t> &pixels);

// Error reports captured while alive.
struct CapturedReports {
  CapturedReports();
  ~CapturedReports();
  std::vector<std::pair<int, std::string>> errors;
  kavrel::ReportSinks saved;
};

}  // namespace kavrel_test

#endif
