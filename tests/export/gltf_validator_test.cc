// Every scene of the scenario tests, as .glb and as .gltf, passes the
// Khronos glTF validator with zero errors (one validator run for all files:
// node's start-up dominates).
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <functional>
#include <iterator>

#include <gtest/gtest.h>

#include "export_fixtures.h"

namespace kavrel_test {
namespace {

const std::string kValidator = std::string(KAVREL_SOURCE_DIR) + "/tools/gltf_validator";

bool Exists(const std::string &path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

TEST(GltfValidator, EveryExportedSceneIsValid) {
  if (!Exists(kValidator + "/node_modules/gltf-validator") || std::system("node --version >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "the glTF validator is not installed (scripts/setup.sh)";
  }
  std::string texture = TempDir() + "/valid.rgb";
  WriteSgiImage(texture, 1, 1, 3, {10, 20, 30});
  const std::pair<const char *, std::function<void(Scene &)>> scenes[] = {
      {"v_hierarchy", BuildHierarchyScene},
      {"v_meshes", BuildMeshScene},
      {"v_materials", [&](Scene &s) { BuildMaterialScene(s, texture); }},
      {"v_lights", BuildLightCameraScene},
      {"v_empty", [](Scene &) {}},
  };
  CapturedReports quiet;                       // the scenes' own repair warnings
  std::string command = "node " + kValidator + "/validate.mjs";
  for (const auto &[name, build] : scenes) {
    build(FreshScene());
    for (const char *extension : {".glb", ".gltf"}) {
      std::string path = TempDir() + "/" + name + extension, error;
      kavrel::ExportFormat format;
      ASSERT_TRUE(kavrel::ExportFormatFromPath(path, &format));
      ASSERT_TRUE(ExportScene(kavrel::scene(), path, format, &error)) << error;
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
