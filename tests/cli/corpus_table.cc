#include "corpus_table.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "convert_process.h"

namespace kavrel_test {

CorpusTable ReadCorpusTable(const std::string &path) {
  CorpusTable table;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string name;
    fields >> name;
    std::vector<long> numbers;
    for (long n; fields >> n;) numbers.push_back(n);
    if (numbers.empty()) continue;
    ModelResult &result = table[name];
    result.triangles = numbers.back();
    numbers.pop_back();
    result.statistics = numbers;
  }
  return table;
}

std::string FormatModelResult(const ModelResult &result) {
  std::string text;
  for (long n : result.statistics) text += std::to_string(n) + " ";
  return text + std::to_string(result.triangles);
}

std::string FormatCorpusTable(const CorpusTable &table) {
  std::string text;
  for (const auto &[name, result] : table) text += name + " " + FormatModelResult(result) + "\n";
  return text;
}

std::vector<long> ParseStatistics(const std::string &output) {
  std::vector<long> numbers;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    size_t equals = line.find(" = ");
    if (line.rfind("\tNumber of ", 0) != 0 || equals == std::string::npos) continue;
    numbers.push_back(std::strtol(line.c_str() + equals + 3, nullptr, 10));
  }
  return numbers;
}

namespace {

long MeshTriangles(const nlohmann::json &gltf, size_t mesh) {
  long triangles = 0;
  for (const auto &primitive : gltf["meshes"][mesh]["primitives"]) {
    if (primitive.value("mode", 4) != 4) continue;  // lines and points
    size_t accessor = primitive.contains("indices") ? primitive["indices"].get<size_t>()
                                                    : primitive["attributes"]["POSITION"].get<size_t>();
    triangles += gltf["accessors"][accessor]["count"].get<long>() / 3;
  }
  return triangles;
}

}  // namespace

long CountGlbTriangles(const std::string &path) {
  std::string bytes = ReadFile(path);
  uint32_t json_length = 0;
  if (bytes.size() < 20 || bytes.compare(0, 4, "glTF") != 0) return -1;
  std::memcpy(&json_length, bytes.data() + 12, 4);
  if (bytes.size() < 20 + static_cast<size_t>(json_length)) return -1;
  nlohmann::json gltf = nlohmann::json::parse(bytes.substr(20, json_length), nullptr, false);
  if (gltf.is_discarded()) return -1;
  long triangles = 0;
  for (const auto &node : gltf.value("nodes", nlohmann::json::array())) {
    if (node.contains("mesh")) triangles += MeshTriangles(gltf, node["mesh"].get<size_t>());
  }
  return triangles;
}

}  // namespace kavrel_test
