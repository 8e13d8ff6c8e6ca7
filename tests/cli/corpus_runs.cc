#include "corpus_runs.h"

#include <algorithm>
#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

namespace kavrel_test {
namespace {

namespace fs = std::filesystem;

void AddFiles(const std::string &folder, const std::string &prefix, std::vector<Model> &models) {
  std::error_code error;
  fs::recursive_directory_iterator it(folder, error), end;
  for (; !error && it != end; it.increment(error)) {
    std::string extension = it->path().extension().string();
    if (!it->is_regular_file() || (extension != ".iv" && extension != ".wrl")) continue;
    models.push_back({prefix + fs::relative(it->path(), folder).string(), it->path().string()});
  }
}

std::string OutputName(const std::string &name, const std::string &extension) {
  std::string flat = fs::path(name).replace_extension(extension).string();
  std::replace(flat.begin(), flat.end(), '/', '_');
  return flat;
}

struct Conversion {
  const Model *model;
  std::string output;
  std::unique_ptr<ChildProcess> child;
};

}  // namespace

std::vector<Model> AllModels() {
  std::vector<Model> models;
  AddFiles(KAVREL_INVENTOR_MODELS, "", models);
  AddFiles(std::string(KAVREL_SOURCE_DIR) + "/examples", "examples/", models);
  std::sort(models.begin(), models.end(), [](const Model &a, const Model &b) { return a.name < b.name; });
  return models;
}

std::vector<std::string> ConvertAll(
    const ScratchDirectory &scratch, const std::vector<Model> &models, const std::string &extension,
    const std::function<void(const Model &, const ProcessResult &, const std::string &)> &done) {
  std::vector<std::string> outputs;
  std::vector<Conversion> running;
  auto finish_one = [&]() {
    Conversion &conversion = running.front();
    ProcessResult result = conversion.child->Wait(120);
    EXPECT_EQ(result.status, 0) << conversion.model->name << "\n" << result.err;
    if (fs::exists(conversion.output)) outputs.push_back(conversion.output);
    done(*conversion.model, result, conversion.output);
    running.erase(running.begin());
  };
  for (const Model &model : models) {
    if (running.size() == 2) finish_one();
    std::string output = scratch.path() + "/" + OutputName(model.name, extension);
    std::vector<std::string> argv{KAVREL_CONVERT_PATH, "-q", "--support-dir", scratch.path() + "/support",
                                  "-o", output, model.path};
    running.push_back({&model, output, std::make_unique<ChildProcess>(argv, scratch.path(), scratch.path())});
  }
  while (!running.empty()) finish_one();
  return outputs;
}

}  // namespace kavrel_test
