// Every scene of the scenario tests, as .glb and as .gltf, passes the
// Khronos glTF validator with zero errors (one node run for all files: its
// start-up dominates).
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

#include "export_fixtures.h"

namespace kavrel_test {
namespace {

TEST(GltfValidator, EveryExportedSceneIsValid) {
  const std::string validator = std::string(KAVREL_SOURCE_DIR) + "/tools/gltf_validator";
  if (!std::filesystem::exists(validator + "/node_modules/gltf-validator") || std::system("node -v >/dev/null 2>&1")) {
    FAIL() << "the glTF validator is not installed: run scripts/setup.sh";
  }
  std::string texture = TempDir() + "/valid.rgb", command = "node " + validator + "/validate.mjs", error;
  WriteSgiImage(texture, 1, 1, 3, {10, 20, 30});
  const std::function<void(Scene &)> scenes[] = {BuildHierarchyScene, BuildMeshScene, BuildLightCameraScene,
                                                 [&](Scene &s) { BuildMaterialScene(s, texture); }, BuildLinesScene,
                                                 [](Scene &) {}};
  for (size_t i = 0; i < std::size(scenes); ++i) {
    kavrel::Host host;
    CapturedReports quiet(host);               // the scenes' own repair warnings
    scenes[i](host.scene());
    for (auto [extension, format] : {std::pair{".glb", kavrel::ExportFormat::kGlb}, {".gltf", kavrel::ExportFormat::kGltf}}) {
      std::string path = TempDir() + "/valid" + std::to_string(i) + extension;
      ASSERT_TRUE(ExportScene(host, path, format, &error)) << error;
      command += " " + path;
    }
  }
  FILE *pipe = popen((command + " 2>&1").c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[4096];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
  int status = pclose(pipe);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << output;
  size_t valid = 0;
  for (size_t at = output.find(": 0 errors,"); at != std::string::npos; at = output.find(": 0 errors,", at + 1)) ++valid;
  EXPECT_EQ(valid, 2 * std::size(scenes)) << output;
}

}  // namespace
}  // namespace kavrel_test
