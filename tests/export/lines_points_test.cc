// Line segments and points through the export: their groups in the export
// model, LINES and POINTS primitives in glTF, "l" and "p" lines in OBJ,
// and the summary's counts.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "export_fixtures.h"
#include "kavrel/export/export_model.h"

namespace kavrel_test {
namespace {

using kavrel::ExportModel;
using kavrel::kNone;
using kavrel::PrimitiveGroup;

const kavrel::ModelMesh &MeshPlacedBy(const ExportModel &model, const std::string &placement) {
  for (const kavrel::ModelPlacement &p : model.placements)
    if (p.name == placement) return model.meshes.at(p.mesh);
  ADD_FAILURE() << "no placement " << placement;
  return model.meshes.at(0);
}

TEST(LinesAndPointsExport, ModelGroupsThemPerSurfaceWithoutRepeatsOrCollapsedSegments) {
  kavrel::Host host;
  BuildLinesScene(host.scene());
  const ExportModel model = kavrel::BuildExportModel(host.scene());

  const kavrel::ModelMesh &wires = MeshPlacedBy(model, "lines");
  EXPECT_TRUE(wires.flat.groups.empty());
  EXPECT_TRUE(wires.double_sided);
  EXPECT_TRUE(wires.instance_surface);
  const std::vector<PrimitiveGroup> &lines = wires.flat.line_groups, &points = wires.flat.point_groups;
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].surface, kNone);
  EXPECT_EQ(lines[0].indices, (std::vector<uint32_t>{0, 1}));  // given again reversed, written once
  EXPECT_EQ(model.materials.at(lines[1].material).name, "wire");
  EXPECT_EQ(lines[1].indices, (std::vector<uint32_t>{2, 3, 3, 4}));
  ASSERT_EQ(points.size(), 1u);
  EXPECT_EQ(points[0].indices, (std::vector<uint32_t>{5}));
  EXPECT_EQ(wires.flat.vertex_count(), 6u);
  EXPECT_EQ(wires.flat.colors.size(), 6u * 3);
  const kavrel::ModelPlacement &placed = model.placements[0];
  EXPECT_EQ(model.materials.at(placed.instance_material).name, "dots");
  EXPECT_EQ(model.objects.at(placed.object).instance_materials.size(), 1u);

  const kavrel::ModelMesh &mixed = MeshPlacedBy(model, "mixed");
  EXPECT_EQ(mixed.flat.groups.at(0).indices.size(), 4u * 3);
  EXPECT_EQ(mixed.flat.line_groups.at(0).indices.size(), 2u);
  EXPECT_EQ(mixed.flat.point_groups.at(0).indices.size(), 1u);
}

TEST(LinesAndPointsExport, GltfHasLinesAndPointsPrimitivesWithPositionsAndColours) {
  kavrel::Host host;
  BuildLinesScene(host.scene());
  const GltfFile file = ExportGlb(host, "lines");
  const json &wires = file.doc["meshes"][NodeNamed(file, "lines")["mesh"].get<int>()]["primitives"];
  ASSERT_EQ(wires.size(), 3u);
  EXPECT_EQ(wires[0]["mode"], 1);
  EXPECT_EQ(wires[1]["mode"], 1);
  EXPECT_EQ(wires[2]["mode"], 0);
  EXPECT_EQ(file.doc["materials"][wires[1]["material"].get<int>()]["name"], "wire");
  EXPECT_EQ(file.doc["materials"][wires[2]["material"].get<int>()]["name"], "dots");
  const json &a = wires[1]["attributes"];
  EXPECT_FALSE(a.contains("NORMAL") || a.contains("TEXCOORD_0"));
  const std::vector<float> positions = Accessor<float>(file, a["POSITION"]), colors = Accessor<float>(file, a["COLOR_0"]);
  const std::vector<uint32_t> second = Accessor<uint32_t>(file, wires[1]["indices"]);
  ASSERT_EQ(second.size(), 4u);
  // (1,0,0)-(1,1,0) and (1,1,0)-(0,1,0), both blue.
  const float expected[4][3] = {{1, 0, 0}, {1, 1, 0}, {1, 1, 0}, {0, 1, 0}};
  for (size_t k = 0; k < 4; ++k) {
    ExpectNear({positions[3 * second[k]], positions[3 * second[k] + 1], positions[3 * second[k] + 2]},
               {expected[k][0], expected[k][1], expected[k][2]});
    EXPECT_EQ(colors[3 * second[k] + 2], 1.0f);
  }

  // A mesh of faces, lines and points: the triangles keep their normals.
  const json &mixed = file.doc["meshes"][NodeNamed(file, "mixed")["mesh"].get<int>()]["primitives"];
  ASSERT_EQ(mixed.size(), 3u);
  EXPECT_FALSE(mixed[0].contains("mode"));
  EXPECT_TRUE(mixed[0]["attributes"].contains("NORMAL"));
  EXPECT_EQ(mixed[1]["mode"], 1);
  EXPECT_FALSE(mixed[1]["attributes"].contains("NORMAL"));
  EXPECT_EQ(mixed[2]["mode"], 0);

  kavrel::ExportSummary summary;
  std::string error;
  ASSERT_TRUE(ExportScene(host, TempDir() + "/lines.gltf", kavrel::ExportFormat::kGltf, &error, &summary)) << error;
  EXPECT_EQ(summary.triangles, 4u);
  EXPECT_EQ(summary.lines, 4u);
  EXPECT_EQ(summary.points, 2u);
}

TEST(LinesAndPointsExport, ObjHasLAndPLinesAndFacesAfterThemStillFindTheirNormals) {
  kavrel::Host host;
  Scene &s = host.scene();
  BuildLinesScene(s);
  // Squares placed after the wires: their "vn" are numbered apart from
  // the "v" the wires wrote without normals.
  AddInstance(s, "squares").object = s.objects.find_index("mixed");
  const std::string path = TempDir() + "/lines.obj";
  kavrel::ExportSummary summary;
  std::string error;
  ASSERT_TRUE(ExportScene(host, path, kavrel::ExportFormat::kObj, &error, &summary)) << error;
  EXPECT_EQ(summary.triangles, 8u);
  EXPECT_EQ(summary.lines, 5u);
  EXPECT_EQ(summary.points, 3u);

  std::ifstream in(path);
  std::vector<std::string> positions, elements;
  size_t normals = 0;
  std::string material;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("v ", 0) == 0) positions.push_back(line);
    if (line.rfind("vn ", 0) == 0) ++normals;
    if (line.rfind("usemtl ", 0) == 0) material = line.substr(7);
    if (line.rfind("l ", 0) == 0 || line.rfind("p ", 0) == 0) elements.push_back(line + " " + material);
    if (line.rfind("f ", 0) != 0) continue;
    std::istringstream corners(line.substr(2));
    for (std::string corner; corners >> corner;) {
      const size_t vn = std::stoul(corner.substr(corner.rfind('/') + 1));
      EXPECT_TRUE(vn >= 1 && vn <= normals) << line;
    }
  }
  ASSERT_GE(elements.size(), 4u);
  EXPECT_EQ(elements[0], "l 1 2 wire");  // a mesh's per-face surfaces first
  EXPECT_EQ(elements[1], "l 2 3 wire");
  EXPECT_EQ(elements[2], "l 4 5 dots");
  EXPECT_EQ(elements[3], "p 6 dots");
  EXPECT_EQ(positions[5].substr(0, 7), "v 2 2 2");
}

}  // namespace
}  // namespace kavrel_test
