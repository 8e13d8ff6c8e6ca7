// Export files: formats from extensions, all-or-nothing writing, the dump.
#include <dirent.h>

#include <fstream>

#include <gtest/gtest.h>

#include "export_fixtures.h"

namespace kavrel_test {
namespace {

using kavrel::ExportFormat;
using nlohmann::json;

std::vector<std::string> DirectoryEntries(const std::string &dir) {
  std::vector<std::string> names;
  DIR *d = opendir(dir.c_str());
  for (dirent *e; d && (e = readdir(d));) {
    if (e->d_name[0] != '.') names.push_back(e->d_name);
  }
  if (d) closedir(d);
  return names;
}

TEST(ExportFile, FormatComesFromTheExtension) {
  ExportFormat f;
  ASSERT_TRUE(kavrel::ExportFormatFromPath("out/Scene.GLB", &f));
  EXPECT_EQ(f, ExportFormat::kGlb);
  ASSERT_TRUE(kavrel::ExportFormatFromPath("scene.gltf", &f));
  EXPECT_EQ(f, ExportFormat::kGltf);
  ASSERT_TRUE(kavrel::ExportFormatFromPath("dump.Json", &f));
  EXPECT_EQ(f, ExportFormat::kJson);
  EXPECT_FALSE(kavrel::ExportFormatFromPath("scene.obj", &f));
  EXPECT_FALSE(kavrel::ExportFormatFromPath("dir.glb/scene", &f));
}

TEST(ExportFile, FailedExportLeavesNoFile) {
  BuildHierarchyScene(FreshScene());
  std::string error;
  EXPECT_FALSE(ExportScene(kavrel::scene(), "/nonexistent-dir/x.glb", ExportFormat::kGlb, &error));
  EXPECT_NE(error.find("/nonexistent-dir/x.glb"), std::string::npos) << error;

  // The target is a directory: the temporary file is written, the rename
  // fails, and nothing may stay behind.
  std::string dir = TempDir() + "/failing";
  ASSERT_EQ(mkdir(dir.c_str(), 0755), 0);
  ASSERT_EQ(mkdir((dir + "/taken.glb").c_str(), 0755), 0);
  error.clear();
  EXPECT_FALSE(ExportScene(kavrel::scene(), dir + "/taken.glb", ExportFormat::kGlb, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(DirectoryEntries(dir), std::vector<std::string>{"taken.glb"});

  // A successful export replaces an older file whole.
  std::string path = dir + "/scene.json";
  std::ofstream(path) << std::string(100000, 'x');
  ASSERT_TRUE(ExportScene(kavrel::scene(), path, ExportFormat::kJson, &error)) << error;
  EXPECT_NO_THROW(json::parse(std::ifstream(path)));
}

TEST(SceneDump, ListsEveryEntityInAStableOrder) {
  kavrel::Scene &s = FreshScene();
  BuildHierarchyScene(s);
  BuildLightCameraScene(s);
  s.instances.get_or_add("detached");
  s.options["b option"] = "2";
  using Dump = nlohmann::ordered_json;         // keeps the file's key order
  Dump dump = Dump::parse(kavrel::DumpSceneJson(s));

  std::vector<std::string> instances;
  for (const Dump &i : dump["instances"]) instances.push_back(i["name"]);
  EXPECT_EQ(instances, (std::vector<std::string>{"world", "group", "shape", "plain", "hidden", "sheared", "gone",
                                                 "detached"}));
  const Dump &shape = dump["instances"][2];
  EXPECT_EQ(shape["parent"], "group");
  EXPECT_EQ(shape["object"], "square");
  EXPECT_EQ(shape["matrix"][14], 5);

  const Dump &square = dump["objects"][0];
  EXPECT_EQ(square["counts"]["positions"], 6);
  EXPECT_EQ(square["counts"]["corners"], 8);
  EXPECT_EQ(square["positions"][5], Dump::array({2, 1, 0}));
  EXPECT_EQ(dump["lights"].size(), 5u);
  EXPECT_EQ(dump["cameras"][3]["window"], Dump::array({3, 2}));
  EXPECT_EQ(dump["drivers"][0]["name"], "driver1");
  std::vector<std::string> keys;
  for (auto &item : dump["options"].items()) keys.push_back(item.key());
  EXPECT_EQ(keys, (std::vector<std::string>{"b option", "confirm overwrites enabled"}));
  EXPECT_EQ(kavrel::DumpSceneJson(s), kavrel::DumpSceneJson(s));
}

}  // namespace
}  // namespace kavrel_test
