// Every model shipped with the Inventor data package converts, and the
// glTF validator accepts every file written.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "convert_process.h"

namespace kavrel_test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> CorpusFiles() {
  std::vector<std::string> files;
  std::error_code error;
  fs::recursive_directory_iterator it(KAVREL_INVENTOR_MODELS, error), end;
  for (; !error && it != end; it.increment(error)) {
    if (it->is_regular_file() && it->path().extension() == ".iv") files.push_back(it->path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// "robots/robotcop.iv" -> "robots_robotcop.glb": one flat output folder.
std::string OutputName(const std::string &input) {
  std::string name = fs::relative(input, KAVREL_INVENTOR_MODELS).replace_extension(".glb").string();
  for (char &c : name) {
    if (c == '/') c = '_';
  }
  return name;
}

struct Conversion {
  std::string input;
  std::unique_ptr<ChildProcess> child;
};

// Two conversions at a time, one per core.
std::vector<std::string> ConvertAll(const ScratchDirectory &scratch, const std::vector<std::string> &inputs) {
  std::vector<std::string> outputs;
  std::vector<Conversion> running;
  auto finish_one = [&]() {
    ProcessResult result = running.front().child->Wait(120);
    EXPECT_EQ(result.status, 0) << running.front().input << "\n" << result.err;
    running.erase(running.begin());
  };
  for (const std::string &input : inputs) {
    if (running.size() == 2) finish_one();
    std::string output = scratch.path() + "/" + OutputName(input);
    outputs.push_back(output);
    running.push_back({input, std::make_unique<ChildProcess>(
                                  std::vector<std::string>{KAVREL_CONVERT_PATH, "-q", "-o", output, input},
                                  scratch.path(), scratch.path())});
  }
  while (!running.empty()) finish_one();
  return outputs;
}

TEST(ConvertCorpus, EveryModelConvertsToValidGltf) {
  std::vector<std::string> inputs = CorpusFiles();
  if (inputs.empty()) GTEST_SKIP() << "no models in " << KAVREL_INVENTOR_MODELS;
  std::string validator = std::string(KAVREL_SOURCE_DIR) + "/tools/gltf_validator/validate.mjs";
  if (!fs::exists(std::string(KAVREL_SOURCE_DIR) + "/tools/gltf_validator/node_modules")) {
    GTEST_SKIP() << "glTF validator not installed (scripts/setup.sh installs it)";
  }
  ScratchDirectory scratch;
  std::vector<std::string> outputs = ConvertAll(scratch, inputs);

  std::vector<std::string> argv{"node", validator};
  for (const std::string &output : outputs) {
    if (fs::exists(output)) argv.push_back(output);
  }
  ASSERT_EQ(argv.size(), outputs.size() + 2) << "some conversions wrote nothing";
  ProcessResult validation = ChildProcess(argv, "", scratch.path()).Wait(120);
  EXPECT_EQ(validation.status, 0) << validation.out << validation.err;
  std::istringstream lines(validation.out);
  int reported = 0;
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() || line[0] == ' ') continue;
    ++reported;
    EXPECT_NE(line.find(": 0 errors"), std::string::npos) << line;
  }
  EXPECT_EQ(reported, static_cast<int>(outputs.size()));
}

}  // namespace
}  // namespace kavrel_test
