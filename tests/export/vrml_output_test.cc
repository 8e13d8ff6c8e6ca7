// The VRML97 and X3D writer: every scene written in both encodings, read
// back, checked like a validator checks siblings, and compared node for
// node; then what each node holds.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>

#include "export_fixtures.h"
#include "kavrel/export/export_model.h"
#include "kavrel/export/vrml_stages.h"
#include "vrml_reader.h"

namespace kavrel_test {
namespace {

using Matrix3 = std::array<std::array<double, 3>, 3>;

// The tree as text: types, DEF/USE names and values, children indented.
std::string Outline(const VrmlNode &node, int depth = 0) {
  std::string text = std::string(2 * depth, ' ') + node.type + " " + node.def + "/" + node.use;
  for (const auto &[field, values] : node.values) {
    text += " " + field + ":";
    for (const std::string &value : values) text += " " + value;
  }
  text += "\n";
  for (const auto &child : node.children) text += Outline(*child, depth + 1);
  return text;
}

// The scene written as stem.wrl and stem.x3d in a folder of its own and
// read back; both must read, pass the checks, say in the summary what
// they hold, and hold the same tree.
VrmlFile WriteBoth(const kavrel::Host &host, const std::string &stem) {
  const std::string dir = TempDir() + "/" + stem;
  std::filesystem::create_directories(dir);
  VrmlFile files[2];
  const std::pair<const char *, kavrel::ExportFormat> formats[] = {{".wrl", kavrel::ExportFormat::kWrl},
                                                                  {".x3d", kavrel::ExportFormat::kX3d}};
  for (int f = 0; f < 2; ++f) {
    const std::string path = dir + "/" + stem + formats[f].first;
    std::string error;
    kavrel::ExportSummary summary;
    EXPECT_TRUE(ExportScene(host, path, formats[f].second, &error, &summary)) << error;
    files[f] = ReadVrmlFile(path);
    EXPECT_EQ(VrmlProblems(files[f], dir), std::vector<std::string>{}) << path;
    std::map<std::string, long> said = {
        {"nodes", summary.nodes},         {"meshes", summary.meshes}, {"triangles", summary.triangles},
        {"materials", summary.materials}, {"textures", summary.textures}, {"lights", summary.lights},
        {"cameras", summary.cameras}};
    if (summary.lines > 0) said["lines"] = summary.lines;
    if (summary.points > 0) said["points"] = summary.points;
    EXPECT_EQ(VrmlCounts(files[f]), said) << path;
  }
  EXPECT_EQ(Outline(*files[0].root), Outline(*files[1].root));
  return files[0];
}

const VrmlNode &Defined(const VrmlFile &file, const std::string &name) {
  auto it = file.defs.find(name);
  if (it != file.defs.end()) return *it->second;
  ADD_FAILURE() << "no DEF " << name;
  static const VrmlNode kMissing;
  return kMissing;
}

std::vector<double> Values(const VrmlNode &node, const std::string &field) { return node.Numbers(field); }

void ExpectNumbers(const std::vector<double> &actual, const std::vector<double> &expected, const std::string &what) {
  ASSERT_EQ(actual.size(), expected.size()) << what;
  for (size_t i = 0; i < actual.size(); ++i) EXPECT_NEAR(actual[i], expected[i], 1e-5) << what << " [" << i << "]";
}

Matrix3 RotationMatrix(const std::vector<double> &axis_angle) {
  if (axis_angle.empty()) return {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
  const double x = axis_angle[0], y = axis_angle[1], z = axis_angle[2], c = std::cos(axis_angle[3]),
               s = std::sin(axis_angle[3]), t = 1 - c;
  return {{{t * x * x + c, t * x * y - s * z, t * x * z + s * y},
           {t * x * y + s * z, t * y * y + c, t * y * z - s * x},
           {t * x * z - s * y, t * y * z + s * x, t * z * z + c}}};
}

Matrix3 Product(const Matrix3 &a, const Matrix3 &b) {
  Matrix3 out{};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c)
      for (int k = 0; k < 3; ++k) out[r][c] += a[r][k] * b[k][c];
  return out;
}

Matrix3 Transposed(const Matrix3 &a) {
  Matrix3 out{};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) out[r][c] = a[c][r];
  return out;
}

// rotation x scaleOrientation x scale x scaleOrientation^-1 (column vectors).
Matrix3 LinearPart(const VrmlNode &transform) {
  const std::vector<double> scale = Values(transform, "scale");
  Matrix3 s{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
  for (int i = 0; i < 3 && !scale.empty(); ++i) s[i][i] = scale[i];
  const Matrix3 orientation = RotationMatrix(Values(transform, "scaleOrientation"));
  return Product(RotationMatrix(Values(transform, "rotation")),
                 Product(orientation, Product(s, Transposed(orientation))));
}

TEST(VrmlOutput, MeshesPlacedAgainAreUsedAndBothEncodingsAgree) {
  kavrel::Host host;
  CapturedReports quiet(host);
  Scene &s = host.scene();
  BuildMeshScene(s);
  const VrmlFile file = WriteBoth(host, "meshes");
  // Every placement's triangles are drawn: USEs reach them again.
  long placed = 0;
  const kavrel::ExportModel model = kavrel::BuildExportModel(s);
  for (const kavrel::ModelPlacement &placement : model.placements) {
    if (placement.mesh == kavrel::kNone) continue;
    for (const kavrel::TriangleGroup &group : model.meshes[placement.mesh].flat.groups)
      placed += static_cast<long>(group.indices.size() / 3);
  }
  EXPECT_EQ(PlacedTriangles(file), placed);
  // "faced" has a group drawn with the instance's surface (red for f1 and
  // f3, green for f2) and a blue one.
  const VrmlNode &f1 = Defined(file, "f1"), &f2 = Defined(file, "f2"), &f3 = Defined(file, "f3");
  ASSERT_EQ(f1.children.size(), 2u);
  for (const auto &shape : f1.children) EXPECT_TRUE(shape->use.empty() && !shape->def.empty());
  ASSERT_EQ(f2.children.size(), 2u);
  EXPECT_EQ(f2.children[0]->use, "");                  // green: a Shape of its own...
  const VrmlNode *green_faces = f2.children[0]->Child("IndexedFaceSet");
  ASSERT_NE(green_faces, nullptr);
  EXPECT_EQ(green_faces->use, f1.children[0]->Child("IndexedFaceSet")->def);  // ...on the same faces
  EXPECT_EQ(f2.children[1]->use, f1.children[1]->def);  // blue, as before
  ASSERT_EQ(f3.children.size(), 2u);
  EXPECT_EQ(f3.children[0]->use, f1.children[0]->def);  // red again
  EXPECT_EQ(f3.children[1]->use, f1.children[1]->def);
  // Vertex colours, one per coordinate (the checks above), drawn per
  // vertex, clamped into 0..1.
  const VrmlNode *colored = Defined(file, "paint").children.at(0)->Child("IndexedFaceSet");
  ASSERT_NE(colored, nullptr);
  EXPECT_EQ(colored->values.at("colorPerVertex"), std::vector<std::string>{"true"});
  const std::vector<double> colors = Values(*colored->Child("Color"), "color");
  ASSERT_EQ(colors.size(), 24u);
  ExpectNumbers({colors.begin(), colors.begin() + 3}, {1, 0, 0}, "first colour");
  ExpectNumbers({colors.end() - 3, colors.end()}, {0, 1, 1}, "last colour");
}

TEST(VrmlOutput, TransformsGiveBackEveryMatrixAndHiddenPlacementsStayUndrawn) {
  kavrel::Host host;
  Scene &s = host.scene();
  BuildHierarchyScene(s);
  // A mirror under a turn, and a non-uniform scale across a turned axis.
  AddInstance(s, "mirrored", "group").matrix = {0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  AddInstance(s, "squashed", "sheared").matrix = {1, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0.5f, 0, 0, 0, 0, 1};
  const VrmlFile file = WriteBoth(host, "transforms");
  for (const char *name : {"group", "shape", "plain", "hidden", "sheared", "mirrored", "squashed"}) {
    const VrmlNode &transform = Defined(file, name);
    const kavrel::Matrix &m = s.instances.find(name)->matrix;
    const Matrix3 a = LinearPart(transform);
    // Row vectors: column c of the column-vector matrix is row c of ours.
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) EXPECT_NEAR(a[r][c], m[4 * c + r], 1e-5) << name << " [" << r << "][" << c << "]";
    std::vector<double> translation = Values(transform, "translation");
    if (translation.empty()) translation = {0, 0, 0};
    ExpectNumbers(translation, {m[12], m[13], m[14]}, std::string(name) + " translation");
  }
  EXPECT_EQ(Defined(file, "plain").values.count("scale"), 0u);  // no noise from the decomposition
  EXPECT_EQ(Defined(file, "shape").values.count("scale"), 0u);
  // The hidden placement is the only choice of a Switch that shows none.
  const VrmlNode *hiding = nullptr;
  for (const auto &top : file.root->children) {
    if (top->type == "Switch") hiding = top.get();
  }
  ASSERT_NE(hiding, nullptr);
  EXPECT_EQ(Values(*hiding, "whichChoice"), std::vector<double>{-1});
  ASSERT_EQ(hiding->children.size(), 1u);
  EXPECT_EQ(hiding->children[0]->def, "hidden");
}

TEST(VrmlOutput, MaterialsLightsAndViewpointsCarryTheHostsValues) {
  kavrel::Host host;
  CapturedReports reports(host);
  Scene &s = host.scene();
  const std::string image = TempDir() + "/wood.rgb";
  WriteSgiImage(image, 1, 1, 3, {200, 150, 100});
  BuildMaterialScene(s, image);
  BuildLightCameraScene(s);
  const VrmlFile file = WriteBoth(host, "values");

  const VrmlNode &paint = Defined(file, "paint_2");  // "paint" names the placement
  EXPECT_EQ(paint.type, "Material");
  ExpectNumbers(Values(paint, "diffuseColor"), {0.4, 0.2, 0}, "diffuse");
  // Inventor's ambient term, the ambient colour (0.5, 0, 0) x its default light 0.2, is emitted.
  ExpectNumbers(Values(paint, "emissiveColor"), {0.6, 0.5, 0.5}, "emissive");
  ExpectNumbers(Values(paint, "transparency"), {0.25}, "transparency");
  ExpectNumbers(Values(paint, "shininess"), {25.0 / 128}, "shininess");
  ExpectNumbers(Values(paint, "ambientIntensity"), {0}, "ambient");
  const VrmlNode &wood = Defined(file, "wood");
  EXPECT_EQ(wood.values.at("url").at(0), "wood.rgb");
  EXPECT_EQ(wood.values.at("repeatS"), std::vector<std::string>{"false"});
  // The image that cannot be read is reported; its surface keeps its colours.
  EXPECT_EQ(file.defs.count("lost"), 0u);
  EXPECT_FALSE(reports.errors.empty());

  // On lights only, shining where the host says, in VRML's ranges.
  EXPECT_EQ(file.defs.count("headlight") + file.defs.count("ambience"), 0u);
  ExpectNumbers(Values(Defined(file, "sun"), "direction"), {-std::sqrt(0.5), -std::sqrt(0.5), 0}, "sun");
  const VrmlNode &bulb = Defined(file, "bulb");
  ExpectNumbers(Values(bulb, "location"), {1, 2, 3}, "bulb");
  ExpectNumbers(Values(bulb, "attenuation"), {1, 0, 0}, "bulb attenuation");
  const VrmlNode &spot = Defined(file, "spot");
  EXPECT_EQ(spot.values.at("on"), std::vector<std::string>{"true"});
  ExpectNumbers(Values(spot, "direction"), {0, 0, -1}, "spot direction");
  ExpectNumbers(Values(spot, "cutOffAngle"), {30 * M_PI / 180}, "spot cone");
  ExpectNumbers(Values(spot, "color"), {1, 0.5, 0.5}, "spot colour");

  // Viewpoints look down -Z turned by their orientation.
  EXPECT_EQ(Defined(file, "front").values.count("orientation"), 0u);
  const Matrix3 side = RotationMatrix(Values(Defined(file, "side"), "orientation"));
  ExpectNumbers({-side[0][2], -side[1][2], -side[2][2]}, {1, 0, 0}, "side looks along +X");
  ExpectNumbers({side[0][1], side[1][1], side[2][1]}, {0, 1, 0}, "side's up");
  ExpectNumbers(Values(Defined(file, "default"), "fieldOfView"), {M_PI / 4}, "default lens");
  // Orthographic: the window's smaller side framed at the target, 11 away.
  ExpectNumbers(Values(Defined(file, "ortho"), "fieldOfView"), {2 * std::atan(1.0 / 11)}, "ortho");
}

TEST(VrmlOutput, LinesAndPointsAreUnlitInTheirDiffuseColour) {
  kavrel::Host host;
  Scene &s = host.scene();
  BuildLinesScene(s);
  s.surfaces.find("wire")->diffuse_color = {0, 0.5f, 1};
  const VrmlFile file = WriteBoth(host, "lines");
  // The segments without a surface, the blue ones, then the points.
  const VrmlNode &lines = Defined(file, "lines");
  ASSERT_EQ(lines.children.size(), 3u);
  const VrmlNode *wire = lines.children[1]->Child("IndexedLineSet");
  ASSERT_NE(wire, nullptr);
  ExpectNumbers(Values(*wire, "coordIndex"), {0, 1, -1, 1, 2, -1}, "segments");
  ExpectNumbers(Values(*wire->Child("Coordinate"), "point"), {1, 0, 0, 1, 1, 0, 0, 1, 0}, "ends");
  EXPECT_EQ(wire->values.at("colorPerVertex"), std::vector<std::string>{"true"});
  EXPECT_EQ(wire->Child("Normal"), nullptr);
  EXPECT_EQ(wire->Child("TextureCoordinate"), nullptr);
  const VrmlNode &unlit = file.Resolve(*lines.children[1]->Child("Appearance")->Child("Material"));
  ExpectNumbers(Values(unlit, "emissiveColor"), {0, 0.5, 1}, "lines' colour");
  // Coin3D draws unlit geometry in the sum of both colours.
  ExpectNumbers(Values(unlit, "diffuseColor"), {0, 0, 0}, "lines' diffuse colour");
  const VrmlNode *dots = lines.children[2]->Child("PointSet");
  ASSERT_NE(dots, nullptr);
  ExpectNumbers(Values(*dots->Child("Coordinate"), "point"), {2, 2, 2}, "point");
  EXPECT_EQ(dots->values.count("coordIndex"), 0u);
  // Faces beside lines and points keep their lit material and normals.
  const VrmlNode &mixed = Defined(file, "mixed");
  ASSERT_EQ(mixed.children.size(), 3u);
  const VrmlNode *faces = mixed.children[0]->Child("IndexedFaceSet");
  ASSERT_NE(faces, nullptr);
  EXPECT_NE(faces->Child("Normal"), nullptr);
  EXPECT_EQ(file.Resolve(*mixed.children[0]->Child("Appearance")->Child("Material")).values.count("specularColor"), 1u);
}

TEST(VrmlOutput, OpenFacesAreWoundAboutTheirNormals) {
  // Two open squares (double-sided) with normals along +Z: the first wound
  // with them, the second against them. VRML lights a face's back with its
  // normals reversed; Inventor lit both as their normals say.
  kavrel::Host host;
  Scene &s = host.scene();
  Mesh squares = TwoSquares();
  squares.position_index = {0, 1, 2, 3, 1, 2, 5, 4};
  AddInstance(s, "open").object = AddObject(s, "open", squares);
  const VrmlFile file = WriteBoth(host, "wound");
  const VrmlNode *faces = Defined(file, "open").children[0]->Child("IndexedFaceSet");
  ASSERT_NE(faces, nullptr);
  EXPECT_EQ(faces->values.at("solid"), std::vector<std::string>{"false"});
  const std::vector<double> index = Values(*faces, "coordIndex"), point = Values(*faces->Child("Coordinate"), "point");
  ASSERT_EQ(index.size(), 16u);
  for (size_t t = 0; t < index.size(); t += 4) {
    auto corner = [&](int k, int axis) { return point[3 * static_cast<size_t>(index[t + k]) + axis]; };
    const double z = (corner(1, 0) - corner(0, 0)) * (corner(2, 1) - corner(0, 1)) -
                     (corner(1, 1) - corner(0, 1)) * (corner(2, 0) - corner(0, 0));
    EXPECT_GT(z, 0) << "triangle " << t / 4;
  }
}

TEST(VrmlOutput, DefNamesAreValidIdentifiersAndUnique) {
  kavrel::VrmlNames names;
  EXPECT_EQ(names.Unique("wheel"), "wheel");
  EXPECT_EQ(names.Unique("wheel"), "wheel_2");
  EXPECT_EQ(names.Unique("wheel_2"), "wheel_2_2");  // taken by the numbering
  EXPECT_EQ(names.Unique("wheel"), "wheel_3");
  EXPECT_EQ(names.Unique("2 wheels"), "_2_wheels");
  EXPECT_EQ(names.Unique("-x"), "_-x");
  EXPECT_EQ(names.Unique("USE"), "_USE");
  EXPECT_EQ(names.Unique("a\"b#c{d}.e,f[g]\\h'i"), "a_b_c_d__e_f_g__h_i");
  EXPECT_EQ(names.Unique("S\xC3\xA4ule"), "S\xC3\xA4ule");       // a letter XML names take
  EXPECT_EQ(names.Unique("x\xC3\x97y"), "x_y");                  // the multiplication sign they do not
  EXPECT_EQ(names.Unique("bad\xFF\n"), "bad__");                 // no UTF-8, a control character
  EXPECT_EQ(names.Unique(""), "unnamed");
}

}  // namespace
}  // namespace kavrel_test
