// Every model shipped with the Inventor data package, and every example of
// ours, converts; the glTF validator accepts every file written; and each
// conversion still produces the statistics and the triangle count recorded
// in corpus_statistics.txt, so a change that loses geometry fails here.
//
// The recorded triangle counts were cross-checked against Coin3D's own
// triangle delivery (bench/convert's baseline: triangles with three distinct
// corners, converted with weld thresholds 0 and merging off); they differ
// only where Coin3D cannot deliver (NURBS without OpenGL) and where the
// shape's advance count is smaller than what the traversal delivers.
// To regenerate after an intended change: KAVREL_CORPUS_TABLE_OUT=FILE.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "convert_process.h"
#include "corpus_runs.h"
#include "corpus_table.h"

namespace kavrel_test {
namespace {

namespace fs = std::filesystem;

void ExpectValid(const ScratchDirectory &scratch, const std::vector<std::string> &outputs) {
  std::vector<std::string> argv{"node", std::string(KAVREL_SOURCE_DIR) + "/tools/gltf_validator/validate.mjs"};
  argv.insert(argv.end(), outputs.begin(), outputs.end());
  ProcessResult validation = ChildProcess(argv, "", scratch.path()).Wait(120);
  EXPECT_EQ(validation.status, 0) << validation.out << validation.err;
  std::istringstream lines(validation.out);
  size_t reported = 0;
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() || line[0] == ' ') continue;
    ++reported;
    EXPECT_NE(line.find(": 0 errors"), std::string::npos) << line;
  }
  EXPECT_EQ(reported, outputs.size());
}

TEST(ConvertCorpus, EveryModelConvertsToValidGltfWithItsRecordedContent) {
  ASSERT_TRUE(fs::exists(std::string(KAVREL_SOURCE_DIR) + "/tools/gltf_validator/node_modules/gltf-validator"))
      << "the glTF validator is not installed: run scripts/setup.sh";
  std::vector<Model> models = AllModels();
  ASSERT_GT(models.size(), 90u) << "the inventor-data models are missing from " << KAVREL_INVENTOR_MODELS
                                << ": run scripts/setup.sh";
  ScratchDirectory scratch;
  CorpusTable results;
  std::vector<std::string> outputs =
      ConvertAll(scratch, models, ".glb", [&](const Model &model, const ProcessResult &run, const std::string &glb) {
        results[model.name] = {ParseStatistics(run.out), CountGlbTriangles(glb)};
      });
  EXPECT_EQ(outputs.size(), models.size()) << "some conversions wrote nothing";
  ExpectValid(scratch, outputs);

  if (const char *out = std::getenv("KAVREL_CORPUS_TABLE_OUT")) std::ofstream(out) << FormatCorpusTable(results);
  CorpusTable expected = ReadCorpusTable(std::string(KAVREL_SOURCE_DIR) + "/tests/cli/corpus_statistics.txt");
  EXPECT_EQ(expected.size(), results.size()) << "models added or gone: regenerate the table";
  for (const auto &[name, result] : results) {
    auto recorded = expected.find(name);
    ASSERT_NE(recorded, expected.end()) << name << " is not in the table";
    EXPECT_EQ(result, recorded->second) << name << ": now " << FormatModelResult(result) << ", recorded "
                                        << FormatModelResult(recorded->second);
  }
}

}  // namespace
}  // namespace kavrel_test
