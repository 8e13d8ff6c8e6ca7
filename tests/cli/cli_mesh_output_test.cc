// What reaches the glTF of a conversion, read back from the .glb file.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "convert_process.h"

namespace kavrel_test {
namespace {

using nlohmann::json;
using Point = std::array<float, 3>;

// The JSON and the binary chunk of a .glb file.
struct Glb {
  json doc;
  std::string bin;
};

Glb ReadGlb(const std::string &path) {
  const std::string bytes = ReadFile(path);
  Glb glb;
  uint32_t json_length = 0, bin_length = 0;
  if (bytes.size() < 20) return glb;
  std::memcpy(&json_length, &bytes[12], 4);
  glb.doc = json::parse(bytes.substr(20, json_length));
  const size_t bin_at = 20 + json_length;
  if (bytes.size() >= bin_at + 8) {
    std::memcpy(&bin_length, &bytes[bin_at], 4);
    glb.bin = bytes.substr(bin_at + 8, bin_length);
  }
  return glb;
}

template <typename T>
std::vector<T> AccessorValues(const Glb &glb, int accessor, size_t components) {
  const json &a = glb.doc["accessors"][accessor];
  const json &view = glb.doc["bufferViews"][a["bufferView"].get<int>()];
  std::vector<T> values(a["count"].get<size_t>() * components);
  std::memcpy(values.data(), &glb.bin[view.value("byteOffset", size_t{0})], values.size() * sizeof(T));
  return values;
}

struct TriangleCount {
  size_t total = 0;
  size_t without_area = 0;                     // two corners on the same point
};

TriangleCount CountTriangles(const Glb &glb) {
  TriangleCount count;
  for (const json &mesh : glb.doc.value("meshes", json::array())) {
    for (const json &primitive : mesh["primitives"]) {
      const std::vector<float> xyz = AccessorValues<float>(glb, primitive["attributes"]["POSITION"], 3);
      const std::vector<uint32_t> indices = AccessorValues<uint32_t>(glb, primitive["indices"], 1);
      auto point = [&](uint32_t v) { return Point{xyz[3 * v], xyz[3 * v + 1], xyz[3 * v + 2]}; };
      for (size_t t = 0; t + 2 < indices.size(); t += 3) {
        const Point a = point(indices[t]), b = point(indices[t + 1]), c = point(indices[t + 2]);
        ++count.total;
        if (a == b || b == c || c == a) ++count.without_area;
      }
    }
  }
  return count;
}

// Counted on the node alone, a default sphere has more triangles than the
// traversal delivers: its pre-sized buffer ends in triangles collapsed onto
// the origin. With every weld option off nothing in the scene database
// removes them; the glTF must still hold exactly the triangles a welded
// conversion has.
TEST(ConvertedMeshes, NoTriangleWithoutAreaWithWeldingOff) {
  ScratchDirectory scratch;
  scratch.Write("sphere.iv", "#Inventor V2.1 ascii\n\nSphere {}\n");
  const std::string no_welding = scratch.path() + "/no welding/";
  scratch.Write("no welding/vorlix.ini",
                "[Preferences]\nforceWeldVertices = 0\nforceWeldNormals = 0\nforceWeldTexCoords = 0\n"
                "forceWeldVertexColors = 0\n");
  ProcessResult welded = RunConvert(scratch, {"-q", "--classic-counts", "-o", "welded.glb", "sphere.iv"});
  ProcessResult raw =
      RunConvert(scratch, {"-q", "--classic-counts", "--support-dir", no_welding, "-o", "raw.glb", "sphere.iv"});
  ASSERT_EQ(welded.status, 0) << welded.err;
  ASSERT_EQ(raw.status, 0) << raw.err;

  const TriangleCount with = CountTriangles(ReadGlb(scratch.path() + "/welded.glb"));
  const TriangleCount without = CountTriangles(ReadGlb(scratch.path() + "/raw.glb"));
  const size_t output_at = raw.out.find("Number of polygons output = ");
  ASSERT_NE(output_at, std::string::npos) << raw.out;
  const size_t polygons_output = std::stoul(raw.out.substr(output_at + 28));
  EXPECT_GT(polygons_output, with.total);      // collapsed triangles were there to leave out
  EXPECT_GT(with.total, 300u);
  EXPECT_EQ(with.without_area, 0u);
  EXPECT_EQ(without.without_area, 0u);
  EXPECT_EQ(without.total, with.total);
}

// Meshes are flattened and tested on several threads: the files must not
// depend on how many, nor on which finished first. The chess scene has
// shared, closed and open meshes; the glTF and OBJ writers both prepare
// meshes that way.
TEST(ConvertedMeshes, FilesAreTheSameWhateverTheThreadCount) {
  ScratchDirectory scratch;
  const std::string model = std::string(KAVREL_INVENTOR_MODELS) + "/scenes/chesschairs.iv";
  for (const char *extension : {"glb", "obj"}) {
    std::vector<std::string> outputs;
    for (const char *threads : {"1", "2", "5"}) {
      setenv("KAVREL_THREADS", threads, 1);
      // The same file name each time: an OBJ names its material library.
      const std::string name = std::string("t") + threads + "/out." + extension;
      ASSERT_EQ(mkdir((scratch.path() + "/t" + threads).c_str(), 0755) == 0 || errno == EEXIST, true);
      ProcessResult run = RunConvert(scratch, {"-q", "-o", name, model});
      ASSERT_EQ(run.status, 0) << run.err;
      outputs.push_back(ReadFile(scratch.path() + "/" + name));
    }
    unsetenv("KAVREL_THREADS");
    EXPECT_GT(outputs[0].size(), 10000u) << extension;
    EXPECT_EQ(outputs[0], outputs[1]) << extension;
    EXPECT_EQ(outputs[0], outputs[2]) << extension;
  }
}

}  // namespace
}  // namespace kavrel_test
