#include "export_fixtures.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "kavrel/mesh/mesh_ops.h"

namespace kavrel_test {

using namespace kavrel;

Instance &AddInstance(Scene &s, const std::string &name, const std::string &parent) {
  int32_t parent_index = s.instances.find_index(parent);
  Instance &instance = s.instances.get_or_add(name);
  instance.parent = parent_index;
  s.instances.items[parent_index].children.push_back(s.instances.find_index(name));
  return instance;
}

int32_t AddObject(Scene &s, const std::string &name, const Mesh &mesh) {
  Object &object = s.objects.get_or_add(name);
  object.mesh = mesh;
  object.defined = true;
  return s.objects.find_index(name);
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

Mesh Wires() {
  Mesh m;
  m.positions = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {2, 2, 2}};
  m.colors = {{1, 0, 0}, {0, 0, 1}};
  m.face_sizes = {2, 2, 2, 2, 2, 1, 1};
  m.position_index = {0, 1, 1, 2, 2, 3, 1, 0, 3, 3, 4, 4};
  m.color_index = {0, 0, 1, 1, 1, 1, 0, 0, 0, 0, 1, 1};
  m.surface_names = {"wire"};
  m.face_surface = {-1, 0, 0, -1, -1, -1, -1};
  return m;
}

void BuildHierarchyScene(Scene &s) {
  AddInstance(s, "group").matrix = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1};
  Instance &shape = AddInstance(s, "shape", "group");
  shape.matrix = {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 5, 1};  // 90 degrees about Z, then up 5
  shape.object = AddObject(s, "square", TwoSquares());
  AddInstance(s, "plain", "group");
  AddInstance(s, "hidden").hidden = true;
  AddInstance(s, "gone").removed = true;
  const float c = std::sqrt(0.5f);
  Matrix rotate = {c, c, 0, 0, -c, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  Matrix stretch = {2, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 4, 0, 0, 1};
  AddInstance(s, "sheared").matrix = MultiplyMatrix(rotate, stretch);
}

void BuildMeshScene(Scene &s) {
  for (const char *name : {"red", "green", "blue"}) s.surfaces.get_or_add(name);
  AddInstance(s, "plain").object = AddObject(s, "squares", TwoSquares());

  Mesh clockwise = TwoSquares();
  clockwise.position_index = clockwise.texcoord_index = {0, 3, 2, 1, 1, 2, 5, 4};
  clockwise.clockwise = true;
  AddInstance(s, "cw").object = AddObject(s, "clockwise", clockwise);

  Mesh repaired = TwoSquares();
  repaired.clockwise = true;  // so that the face normal (-Z) differs from any default
  repaired.normals = {{0, 0, -1}, {0, 0, 0}};
  repaired.positions[3] = {NAN, 1, 0};
  repaired.face_sizes.push_back(3);
  for (auto *index : {&repaired.position_index, &repaired.normal_index, &repaired.texcoord_index}) {
    index->insert(index->end(), {0, 1, 99});
  }
  AddInstance(s, "fix").object = AddObject(s, "repaired", repaired);

  Mesh faced = TwoSquares();
  faced.face_surface = {0, -1};
  faced.surface_names = {"blue"};
  int32_t faced_object = AddObject(s, "faced", faced);
  for (const char *name : {"f1", "f2", "f3"}) {
    Instance &instance = AddInstance(s, name);
    instance.object = faced_object;
    instance.surface = name[1] == '2' ? "green" : "red";
  }
  AddInstance(s, "nothing").object = AddObject(s, "empty", Mesh{});

  Mesh colored = TwoSquares();
  colored.colors = {{1, 0, 0}, {0, 1, 2}};
  colored.color_index = {0, 0, 0, 0, 1, 1, 1, 1};
  AddInstance(s, "paint").object = AddObject(s, "colored", colored);
}

void BuildMaterialScene(Scene &s, const std::string &texture_path) {
  Surface &paint = s.surfaces.get_or_add("paint");
  paint.diffuse_color = {1, 0.5f, 0};
  paint.diffuse_coeff = 0.4f;
  paint.opacity = 0.75f;
  paint.luminous_color = {1, 1, 1};
  paint.luminous_coeff = 0.5f;
  paint.phong_shininess = 25;
  paint.ambient_color = {0.5f, 0, 0};
  Surface &bright = s.surfaces.get_or_add("bright");
  bright.diffuse_color = {0.5f, 1, 1};
  bright.diffuse_coeff = 3;
  auto link = [&](const char *surface, const char *texture, const std::string &path) {
    s.surfaces.get_or_add(surface).layers.push_back({"layer 1", true, texture, 1, 1, 0, 0, true});
    Texture &t = s.textures.get_or_add(texture);
    t.path = path;
    t.enabled = true;
    t.wrap_u = false;
  };
  link("textured", "wood", texture_path);
  link("missing", "lost", "/nonexistent/lost.rgb");
  int32_t square = AddObject(s, "square", TwoSquares());
  for (const char *name : {"paint", "bright", "textured", "missing", "paint again"}) {
    Instance &instance = AddInstance(s, name);
    instance.object = square;
    instance.surface = std::string(name).substr(0, std::string(name).find(' '));
  }
}

void BuildLightCameraScene(Scene &s) {
  auto light = [&](const char *name, const char *model, Vec3 from = {0, 0, 0}) -> Light & {
    Light &l = s.lights.get_or_add(name);
    l.model = model;
    l.shinefrom = from;
    return l;
  };
  light("sun", "direction").shinedir = {1, 1, 0};
  light("bulb", "point", {1, 2, 3});
  Light &spot = light("spot", "spot", {0, 0, 5});
  spot.shineat = {0, 0, 0};
  spot.cutoff = 30;
  spot.color = {2, 0.5f, 0.5f};
  light("headlight", "direction").enabled = false;
  light("ambience", "ambient");
  auto camera = [&](const char *name, Vec3 from, Vec3 at, Vec3 up, std::array<float, 2> window) -> Camera & {
    Camera &c = s.cameras.get_or_add(name);
    c.lookfrom = from, c.lookat = at, c.lookup = up, c.window = window;
    return c;
  };
  s.cameras.get_or_add("default");
  camera("front", {0, 0, 5}, {0, 0, 0}, {0, 1, 0}, {4.1421356f, 2.7614238f});
  camera("side", {0, 0, 0}, {10, 0, 0}, {0, 1, 0}, {4, 4});
  // An up along the view: a frame must still come out.
  camera("ortho", {0, 0, 10}, {0, 0, -1}, {0, 0, 1}, {3, 2}).projection = "orthographic";
}

void BuildLinesScene(Scene &s) {
  for (const char *name : {"wire", "dots"}) s.surfaces.get_or_add(name);
  Instance &lines = AddInstance(s, "lines");
  lines.object = AddObject(s, "wires", Wires());
  lines.surface = "dots";
  Mesh mixed = TwoSquares();
  Mesh extra;
  extra.positions = {{0, 0, 1}, {1, 1, 1}};
  extra.face_sizes = {2, 1};
  extra.position_index = {0, 1, 1};
  AppendMesh(mixed, extra, IdentityMatrix());
  AddInstance(s, "mixed").object = AddObject(s, "mixed", mixed);
}

std::string TempDir() {
  static char dir[] = "/tmp/kavrel-export-XXXXXX";  // static storage: still there in the exit handler
  static bool made = mkdtemp(dir) && std::atexit([] { std::filesystem::remove_all(dir); }) == 0;
  EXPECT_TRUE(made);
  return dir;
}

GltfFile ExportGlb(const Host &host, const std::string &name) {
  std::string path = TempDir() + "/" + name + ".glb", error;
  EXPECT_TRUE(ExportScene(host, path, ExportFormat::kGlb, &error)) << error;
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto u32 = [&](size_t at) {
    uint32_t v = 0;
    if (at + 4 <= bytes.size()) std::memcpy(&v, &bytes[at], 4);
    return v;
  };
  GltfFile file;
  if (u32(0) != 0x46546C67 || u32(8) != bytes.size()) {
    ADD_FAILURE() << path << " is not a well-formed .glb";
    return file;
  }
  size_t bin_at = 20 + u32(12);
  file.doc = json::parse(bytes.begin() + 20, bytes.begin() + bin_at);
  if (bin_at + 8 <= bytes.size()) file.bin.assign(bytes.begin() + bin_at + 8, bytes.end());
  return file;
}

const json &NodeNamed(const GltfFile &file, const std::string &name) {
  for (const json &node : file.doc["nodes"]) {
    if (node.value("name", "") == name) return node;
  }
  static const json kMissing;
  ADD_FAILURE() << "no node " << name;
  return kMissing;
}

Vec3 Rotate(const json &q, const Vec3 &v) {
  // v + 2w (u x v) + 2 u x (u x v), u the vector part.
  auto cross = [](const Vec3 &a, const Vec3 &b) {
    return Vec3{a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
  };
  Vec3 u{q[0], q[1], q[2]}, t = cross(u, v), tt = cross(u, t);
  Vec3 out;
  for (int i = 0; i < 3; ++i) out[i] = v[i] + 2 * q[3].get<float>() * t[i] + 2 * tt[i];
  return out;
}

void ExpectNear(const Vec3 &actual, const Vec3 &expected) {
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-5f) << "component " << i;
}

void WriteSgiImage(const std::string &path, int width, int height, int components,
                   const std::vector<uint8_t> &pixels) {
  std::vector<uint8_t> out(512, 0);
  auto put16 = [&](size_t at, int v) { out[at] = uint8_t(v >> 8), out[at + 1] = uint8_t(v); };
  put16(0, 474);                               // magic; storage 0: verbatim
  out[3] = 1;                                  // bytes per channel
  put16(4, 3), put16(6, width), put16(8, height), put16(10, components);
  out[15] = 255;                               // largest pixel value
  for (int c = 0; c < components; ++c) {
    for (int y = height - 1; y >= 0; --y) {    // SGI rows run bottom up
      for (int x = 0; x < width; ++x) out.push_back(pixels[(size_t(y) * width + x) * components + c]);
    }
  }
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char *>(out.data()), out.size());
}

CapturedReports::CapturedReports(Host &host) : host(host), saved(host.settings().sinks) {
  host.settings().sinks.error = [this](int level, const std::string &text) { errors.emplace_back(level, text); };
}

CapturedReports::~CapturedReports() { host.settings().sinks = saved; }

}  // namespace kavrel_test
