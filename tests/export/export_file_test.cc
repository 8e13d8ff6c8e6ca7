// Export files: formats from extensions, all-or-nothing writing, the dump.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "export_fixtures.h"

namespace kavrel_test {
namespace {

using kavrel::ExportFormat;

TEST(ExportFile, FormatComesFromTheExtension) {
  ExportFormat f = ExportFormat::kJson;
  EXPECT_TRUE(kavrel::ExportFormatFromPath("out/Scene.GLB", &f) && f == ExportFormat::kGlb);
  EXPECT_TRUE(kavrel::ExportFormatFromPath("scene.gltf", &f) && f == ExportFormat::kGltf);
  EXPECT_TRUE(kavrel::ExportFormatFromPath("dump.Json", &f) && f == ExportFormat::kJson);
  EXPECT_TRUE(kavrel::ExportFormatFromPath("scene.Obj", &f) && f == ExportFormat::kObj);
  EXPECT_TRUE(kavrel::ExportFormatFromPath("part.3mf", &f) && f == ExportFormat::k3mf);
  EXPECT_FALSE(kavrel::ExportFormatFromPath("scene.xyz", &f));
  EXPECT_FALSE(kavrel::ExportFormatFromPath("dir.glb/scene", &f));
}

TEST(ExportFile, FailedExportLeavesNoFile) {
  kavrel::Host host;
  BuildHierarchyScene(host.scene());
  std::string error;
  EXPECT_FALSE(ExportScene(host, "/nonexistent-dir/x.glb", ExportFormat::kGlb, &error));
  EXPECT_NE(error.find("/nonexistent-dir/x.glb"), std::string::npos) << error;

  // The target is a directory: the temporary file is written, the rename
  // fails, and nothing may stay behind.
  std::string dir = TempDir() + "/failing";
  ASSERT_TRUE(std::filesystem::create_directories(dir + "/taken.glb"));
  EXPECT_FALSE(ExportScene(host, dir + "/taken.glb", ExportFormat::kGlb, &error));
  size_t entries = std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator());
  EXPECT_EQ(entries, 1u);

  // A successful export replaces an older file whole.
  std::string path = dir + "/scene.json";
  std::ofstream(path) << std::string(100000, 'x');
  ASSERT_TRUE(ExportScene(host, path, ExportFormat::kJson, &error)) << error;
  EXPECT_NO_THROW(json::parse(std::ifstream(path)));
}

TEST(SceneDump, ListsEveryEntityInAStableOrder) {
  Scene s;
  BuildHierarchyScene(s);
  BuildLightCameraScene(s);
  s.instances.get_or_add("detached");
  s.options["b option"] = "2";
  using Dump = nlohmann::ordered_json;         // keeps the file's key order
  Dump dump = Dump::parse(kavrel::DumpSceneJson(s));
  std::string instances, options;
  for (const Dump &i : dump["instances"]) instances += i["name"].get<std::string>() + ",";
  EXPECT_EQ(instances, "world,group,shape,plain,hidden,sheared,gone,detached,");  // hierarchy, then the rest
  EXPECT_EQ(dump["instances"][2], Dump::parse(R"({"name": "shape", "parent": "group", "object": "square",
      "surface": "", "hidden": false, "removed": false, "matrix": [0,1,0,0,-1,0,0,0,0,0,1,0,0,0,5,1], "children": []})"));
  EXPECT_EQ(dump["objects"][0]["counts"], Dump::parse(R"({"positions": 6, "normals": 2, "texcoords": 6,
      "colors": 0, "polygons": 2, "corners": 8})"));
  EXPECT_EQ(dump["objects"][0]["positions"][5], Dump::array({2, 1, 0}));
  EXPECT_EQ(dump["lights"].size() + dump["cameras"].size() + dump["drivers"].size(), 5u + 4 + 1);
  for (auto &item : dump["options"].items()) options += item.key() + ",";
  EXPECT_EQ(options, "b option,confirm overwrites enabled,");
}

}  // namespace
}  // namespace kavrel_test
