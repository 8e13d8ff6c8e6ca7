// The command's summary line says what the written file holds: counted
// again from the file itself, for every output format.
#include <gtest/gtest.h>

#include "convert_process.h"
#include "output_content.h"

namespace kavrel_test {
namespace {

TEST(OutputSummary, CountsWhatTheWrittenFileHoldsInEveryFormat) {
  // A texture and a camera; a light, a camera and per-face materials;
  // meshes shared by several placements.
  for (const char *model : {"simple/texture.iv", "scenes/chesschairs.iv", "buildings/windmill.iv"}) {
    ScratchDirectory scratch;
    for (const char *extension : {"glb", "gltf", "obj", "ply", "stl", "dae", "3mf", "fbx", "x3d", "wrl", "json"}) {
      const std::string output = std::string("model.") + extension;
      const ProcessResult run =
          RunConvert(scratch, {"-o", output, std::string(KAVREL_INVENTOR_MODELS) + "/" + model}, scratch.path());
      ASSERT_EQ(run.status, 0) << model << " " << extension << run.err;
      const Counts said = SummaryCounts(run.out);
      EXPECT_GT(said.at("triangles"), 0) << model << " " << extension;
      EXPECT_EQ(said, ContentCounts(scratch.path() + "/" + output)) << model << " " << extension;
    }
  }
}

}  // namespace
}  // namespace kavrel_test
