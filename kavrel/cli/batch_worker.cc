#include "kavrel/cli/batch_worker.h"

#include <cstdint>
#include <fstream>


namespace kavrel {

namespace {

void AddIf(bool condition, const std::string &flag, std::vector<std::string> *argv) {
  if (condition) argv->push_back(flag);
}

void AddValue(const std::string &flag, const std::string &value, std::vector<std::string> *argv) {
  argv->push_back(flag);
  argv->push_back(value);
}

}  // namespace

std::vector<std::string> WorkerArguments(const std::string &program, const ConvertCommand &command,
                                         const std::string &input, const std::string &output,
                                         const std::string &result) {
  std::vector<std::string> argv{program, "-q"};
  AddValue("--batch-result", result, &argv);
  AddValue("-o", output, &argv);
  if (!command.support_dir.empty()) AddValue("--support-dir", command.support_dir, &argv);
  if (!command.plugin_path.empty()) AddValue("--plugin", command.plugin_path, &argv);
  if (command.time_limit >= 0) AddValue("--time-limit", std::to_string(command.time_limit), &argv);
  AddValue("--max-triangles", std::to_string(command.max_triangles), &argv);
  AddIf(command.classic_counts, "--classic-counts", &argv);
  AddIf(command.faces_only, "--faces-only", &argv);
  for (const std::string &root : command.texture_roots) AddValue("--texture-root", root, &argv);
  AddIf(command.overwrite, "--overwrite", &argv);
  AddIf(command.trace, "--trace", &argv);
  // The worker adds the command's own tokens again itself.
  for (size_t i = HostTokenCount(command); i < command.option_tokens.size(); ++i) {
    const auto &token = command.option_tokens[i];
    AddValue("-O", token.first + "=" + token.second, &argv);
  }
  argv.push_back("--");
  argv.push_back(input);
  return argv;
}

void WriteWorkerResult(const Scene &scene, const std::string &path) {
  int64_t triangles = 0;
  for (const Object &object : scene.objects.items) {
    for (int32_t corners : object.mesh.face_sizes) triangles += corners > 2 ? corners - 2 : 0;
  }
  std::ofstream(path) << "triangles " << triangles << "\n";
}

}  // namespace kavrel
