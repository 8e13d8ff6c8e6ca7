#include "export_fixtures.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

namespace kavrel_test {

using namespace kavrel;

Scene &FreshScene() {
  scene().clear();
  return scene();
}

int32_t AddInstance(Scene &s, const std::string &name, const std::string &parent, const Matrix &matrix) {
  int32_t parent_index = s.instances.find_index(parent);
  Instance &instance = s.instances.get_or_add(name);
  instance.matrix = matrix;
  instance.parent = parent_index;
  int32_t index = s.instances.find_index(name);
  s.instances.items[parent_index].children.push_back(index);
  return index;
}

int32_t AddObject(Scene &s, const std::string &name, const Mesh &mesh) {
  Object &object = s.objects.get_or_add(name);
  object.mesh = mesh;
  object.defined = true;
  return s.objects.find_index(name);
}

Matrix Translation(float x, float y, float z) {
  Matrix m = IdentityMatrix();
  m[12] = x, m[13] = y, m[14] = z;
  return m;
}

Mesh TwoSquares() {
  Mesh m;
  m.positions = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {2, 0, 0}, {2, 1, 0}};
  m.normals = {{0, 0, 1}, {0, 0, 2}};  // the second one not unit length
  m.texcoords = {{0, 0, 0}, {0.5f, 0, 0}, {0.5f, 1, 0}, {0, 1, 0}, {1, 0, 0}, {1, 1, 0}};
  m.face_sizes = {4, 4};
  m.position_index = {0, 1, 2, 3, 1, 4, 5, 2};
  m.normal_index = {0, 0, 0, 0, 1, 1, 1, 1};
  m.texcoord_index = m.position_index;
  return m;
}

void BuildHierarchyScene(Scene &s) {
  AddInstance(s, "group", "world", Translation(1, 2, 3));
  Matrix turn = {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 5, 1};  // 90 degrees about Z, then up 5
  s.instances.items[AddInstance(s, "shape", "group", turn)].object = AddObject(s, "square", TwoSquares());
  AddInstance(s, "plain", "group");
  s.instances.items[AddInstance(s, "hidden")].hidden = true;
  s.instances.items[AddInstance(s, "gone")].removed = true;
  const float c = std::sqrt(0.5f);
  Matrix rotate = {c, c, 0, 0, -c, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  Matrix stretch = {2, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 4, 0, 0, 1};
  AddInstance(s, "sheared", "world", MultiplyMatrix(rotate, stretch));
}

void BuildMeshScene(Scene &s) {
  for (const char *name : {"red", "green", "blue"}) s.surfaces.get_or_add(name);
  s.instances.items[AddInstance(s, "plain")].object = AddObject(s, "squares", TwoSquares());

  Mesh clockwise = TwoSquares();
  clockwise.position_index = {0, 3, 2, 1, 1, 2, 5, 4};
  clockwise.texcoord_index = clockwise.position_index;
  clockwise.clockwise = true;
  s.instances.items[AddInstance(s, "cw")].object = AddObject(s, "clockwise", clockwise);

  Mesh repaired = TwoSquares();
  repaired.clockwise = true;  // so that the face normal (-Z) differs from any default
  repaired.normals = {{0, 0, -1}, {0, 0, 0}};
  repaired.positions[3] = {NAN, 1, 0};
  repaired.face_sizes.push_back(3);
  repaired.position_index.insert(repaired.position_index.end(), {0, 1, 99});
  for (auto *index : {&repaired.normal_index, &repaired.texcoord_index}) index->insert(index->end(), {0, 0, 0});
  s.instances.items[AddInstance(s, "fix")].object = AddObject(s, "repaired", repaired);

  Mesh faced = TwoSquares();
  faced.face_surface = {0, -1};
  faced.surface_names = {"blue"};
  int32_t faced_object = AddObject(s, "faced", faced);
  for (const char *name : {"f1", "f2", "f3"}) s.instances.items[AddInstance(s, name)].object = faced_object;
  s.instances.items[s.instances.find_index("f1")].surface = "red";
  s.instances.items[s.instances.find_index("f2")].surface = "green";
  s.instances.items[s.instances.find_index("f3")].surface = "red";

  s.instances.items[AddInstance(s, "nothing")].object = AddObject(s, "empty", Mesh{});

  Mesh colored = TwoSquares();
  colored.colors = {{1, 0, 0}, {0, 1, 2}};
  colored.color_index = {0, 0, 0, 0, 1, 1, 1, 1};
  s.instances.items[AddInstance(s, "paint")].object = AddObject(s, "colored", colored);
}

void BuildMaterialScene(Scene &s, const std::string &texture_path) {
  Surface &paint = s.surfaces.get_or_add("paint");
  paint.diffuse_color = {1, 0.5f, 0};
  paint.diffuse_coeff = 0.4f;
  paint.opacity = 0.75f;
  paint.luminous_color = {1, 1, 1};
  paint.luminous_coeff = 0.5f;
  paint.phong_shininess = 25;
  Surface &bright = s.surfaces.get_or_add("bright");
  bright.diffuse_color = {0.5f, 1, 1};
  bright.diffuse_coeff = 3;
  for (auto [surface, texture, path] : {std::array<std::string, 3>{"textured", "wood", texture_path},
                                        std::array<std::string, 3>{"missing", "lost", "/nonexistent/lost.rgb"}}) {
    TextureLayer layer;
    layer.layer = "layer 1";
    layer.enabled = true;
    layer.texture = texture;
    layer.alpha_modulates_opacity = true;
    s.surfaces.get_or_add(surface).layers.push_back(layer);
    Texture &t = s.textures.get_or_add(texture);
    t.path = path;
    t.enabled = true;
    t.wrap_u = false;
  }
  int32_t square = AddObject(s, "square", TwoSquares());
  for (const char *surface : {"paint", "bright", "textured", "missing"}) {
    Instance &instance = s.instances.items[AddInstance(s, surface)];
    instance.object = square;
    instance.surface = surface;
  }
  Instance &again = s.instances.items[AddInstance(s, "paint again")];
  again.object = square;
  again.surface = "paint";
}

void BuildLightCameraScene(Scene &s) {
  auto light = [&](const char *name, const char *model) -> Light & {
    Light &l = s.lights.get_or_add(name);
    l.model = model;
    return l;
  };
  light("sun", "direction").shinedir = {1, 1, 0};
  light("bulb", "point").shinefrom = {1, 2, 3};
  Light &spot = light("spot", "spot");
  spot.shinefrom = {0, 0, 5};
  spot.shineat = {0, 0, 0};
  spot.cutoff = 30;
  spot.color = {2, 0.5f, 0.5f};
  light("headlight", "direction").enabled = false;
  light("ambience", "ambient");

  s.cameras.get_or_add("default");
  Camera &front = s.cameras.get_or_add("front");
  front.lookfrom = {0, 0, 5};
  front.window = {4.1421356f, 2.7614238f};
  Camera &side = s.cameras.get_or_add("side");
  side.lookfrom = {0, 0, 0};
  side.lookat = {10, 0, 0};
  Camera &ortho = s.cameras.get_or_add("ortho");
  ortho.projection = "orthographic";
  ortho.window = {3, 2};
  ortho.lookup = {0, 0, 1};  // along the view: a frame must still come out
  ortho.lookat = {0, 0, -1};
}

std::string TempDir() {
  static char dir[] = "/tmp/kavrel-export-XXXXXX";  // static storage: still there in the exit handler
  static bool made = mkdtemp(dir) && std::atexit([] { std::filesystem::remove_all(dir); }) == 0;
  EXPECT_TRUE(made);
  return dir;
}

GltfFile ExportGlb(const Scene &s, const std::string &name) {
  std::string path = TempDir() + "/" + name + ".glb", error;
  EXPECT_TRUE(ExportScene(s, path, ExportFormat::kGlb, &error)) << error;
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto u32 = [&](size_t at) {
    uint32_t v;
    std::memcpy(&v, &bytes[at], 4);
    return v;
  };
  GltfFile file;
  if (bytes.size() < 20 || u32(0) != 0x46546C67 || u32(8) != bytes.size()) {
    ADD_FAILURE() << path << " is not a well-formed .glb";
    return file;
  }
  uint32_t json_length = u32(12);
  file.json = nlohmann::json::parse(bytes.begin() + 20, bytes.begin() + 20 + json_length);
  size_t bin_at = 20 + json_length;
  if (bin_at + 8 <= bytes.size()) file.bin.assign(bytes.begin() + bin_at + 8, bytes.begin() + bin_at + 8 + u32(bin_at));
  return file;
}

template <typename T>
static std::vector<T> AccessorValues(const GltfFile &file, int accessor) {
  const nlohmann::json &a = file.json["accessors"][accessor];
  const nlohmann::json &view = file.json["bufferViews"][a["bufferView"].get<int>()];
  static const std::map<std::string, size_t> kWidth = {{"SCALAR", 1}, {"VEC2", 2}, {"VEC3", 3}, {"VEC4", 4}};
  std::vector<T> out(a["count"].get<size_t>() * kWidth.at(a["type"]));
  std::memcpy(out.data(), &file.bin[view["byteOffset"].get<size_t>()], out.size() * sizeof(T));
  return out;
}

std::vector<float> AccessorFloats(const GltfFile &file, int accessor) {
  return AccessorValues<float>(file, accessor);
}

std::vector<uint32_t> AccessorIndices(const GltfFile &file, int accessor) {
  return AccessorValues<uint32_t>(file, accessor);
}

const nlohmann::json &NodeNamed(const GltfFile &file, const std::string &name) {
  for (const nlohmann::json &node : file.json["nodes"]) {
    if (node.value("name", "") == name) return node;
  }
  static const nlohmann::json kNone;
  ADD_FAILURE() << "no node " << name;
  return kNone;
}

Vec3 Rotate(const std::vector<float> &q, const Vec3 &v) {
  // v + 2w (u x v) + 2 u x (u x v), u the vector part.
  Vec3 u{q[0], q[1], q[2]};
  auto cross = [](const Vec3 &a, const Vec3 &b) {
    return Vec3{a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
  };
  Vec3 t = cross(u, v), tt = cross(u, t);
  return {v[0] + 2 * q[3] * t[0] + 2 * tt[0], v[1] + 2 * q[3] * t[1] + 2 * tt[1], v[2] + 2 * q[3] * t[2] + 2 * tt[2]};
}

void WriteSgiImage(const std::string &path, int width, int height, int components,
                   const std::vector<uint8_t> &pixels) {
  std::vector<uint8_t> out(512, 0);
  auto put16 = [&](size_t at, int v) { out[at] = uint8_t(v >> 8), out[at + 1] = uint8_t(v); };
  put16(0, 474);                               // magic
  out[3] = 1;                                  // one byte per channel, verbatim storage
  put16(4, 3);
  put16(6, width), put16(8, height), put16(10, components);
  out[15] = 255;                               // pixmax
  for (int c = 0; c < components; ++c) {
    for (int y = height - 1; y >= 0; --y) {    // SGI rows run bottom up
      for (int x = 0; x < width; ++x) out.push_back(pixels[(size_t(y) * width + x) * components + c]);
    }
  }
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char *>(out.data()), out.size());
}

CapturedReports::CapturedReports() : saved(report_sinks()) {
  ReportSinks sinks = saved;
  sinks.error = [this](int level, const std::string &text) { errors.emplace_back(level, text); };
  SetReportSinks(sinks);
}

CapturedReports::~CapturedReports() { SetReportSinks(saved); }

}  // namespace kavrel_test
