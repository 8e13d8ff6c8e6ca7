#include "output_content.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <set>
#include <sstream>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "convert_process.h"
#include "vrml_reader.h"
#include "world_triangles.h"

namespace kavrel_test {
namespace {

using nlohmann::json;

long FileBytes(const std::string &path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 ? static_cast<long>(info.st_size) : 0;
}

std::string Extension(const std::string &path) { return path.substr(path.find_last_of('.') + 1); }

long Size(const json &doc, const char *key) { return doc.contains(key) ? static_cast<long>(doc[key].size()) : 0; }

// The summary line names segments and points only when the file holds any.
void AddLinesAndPoints(Counts &counts, long lines, long points) {
  if (lines > 0) counts["lines"] = lines;
  if (points > 0) counts["points"] = points;
}

json GltfJson(const std::string &path) {
  const std::string bytes = ReadFile(path);
  if (Extension(path) == "gltf") return json::parse(bytes);
  uint32_t length = 0;
  std::memcpy(&length, bytes.data() + 12, 4);
  return json::parse(bytes.substr(20, length));
}

Counts GltfCounts(const std::string &path) {
  const json doc = GltfJson(path);
  Counts counts{{"nodes", Size(doc, "nodes")},         {"meshes", Size(doc, "meshes")},
                {"materials", Size(doc, "materials")}, {"textures", Size(doc, "textures")},
                {"cameras", Size(doc, "cameras")},     {"lights", 0}, {"triangles", 0}};
  if (doc.contains("extensions")) counts["lights"] = Size(doc["extensions"]["KHR_lights_punctual"], "lights");
  // Index accessors by the primitive mode that reads them: 4 triangles, 1 lines, 0 points.
  std::map<int, std::set<int>> index_accessors;
  for (const json &mesh : doc.value("meshes", json::array()))
    for (const json &primitive : mesh["primitives"])
      index_accessors[primitive.value("mode", 4)].insert(primitive["indices"].get<int>());
  long vertices[5] = {};
  for (const auto &[mode, accessors] : index_accessors)
    for (int accessor : accessors) vertices[mode] += doc["accessors"][accessor]["count"].get<long>();
  counts["triangles"] = vertices[4] / 3;
  AddLinesAndPoints(counts, vertices[1] / 2, vertices[0]);
  return counts;
}

Counts DumpCounts(const std::string &path) {
  const json dump = json::parse(ReadFile(path));
  Counts counts{{"nodes", Size(dump, "instances")}, {"meshes", Size(dump, "objects")},
                {"materials", Size(dump, "surfaces")}, {"textures", Size(dump, "textures")},
                {"lights", Size(dump, "lights")},      {"cameras", Size(dump, "cameras")}, {"triangles", 0}};
  long lines = 0, points = 0;
  for (const json &object : dump["objects"]) {
    for (int size : object["face_sizes"]) {
      counts["triangles"] += size >= 3 ? size - 2 : 0;
      lines += size == 2;
      points += size == 1;
    }
  }
  AddLinesAndPoints(counts, lines, points);
  return counts;
}

// Lines of text that begin with prefix.
std::vector<std::string> LinesStarting(const std::string &text, const std::string &prefix) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    if (line.rfind(prefix, 0) == 0) lines.push_back(line.substr(prefix.size()));
  return lines;
}

Counts ObjCounts(const std::string &path) {
  const std::string obj = ReadFile(path);
  const std::string library = path.substr(0, path.size() - 3) + "mtl";
  const std::string mtl = ReadFile(library);
  const std::vector<std::string> maps = LinesStarting(mtl, "map_Kd ");
  const std::set<std::string> textures(maps.begin(), maps.end());
  long bytes = FileBytes(path) + FileBytes(library);
  for (const std::string &texture : textures) bytes += FileBytes(path.substr(0, path.find_last_of('/') + 1) + texture);
  Counts counts{{"nodes", 0},
                {"meshes", static_cast<long>(LinesStarting(obj, "g ").size())},
                {"triangles", static_cast<long>(LinesStarting(obj, "f ").size())},
                {"materials", static_cast<long>(LinesStarting(mtl, "newmtl ").size())},
                {"textures", static_cast<long>(textures.size())},
                {"lights", 0},
                {"cameras", 0},
                {"bytes", bytes}};
  AddLinesAndPoints(counts, static_cast<long>(LinesStarting(obj, "l ").size()),
                    static_cast<long>(LinesStarting(obj, "p ").size()));
  return counts;
}

// Binary FBX: node records (32-bit offsets before version 7500, 64-bit
// from it), each a name, typed properties and nested records.
class FbxReader {
 public:
  explicit FbxReader(std::string bytes) : d_(std::move(bytes)) {
    uint32_t version = 0;
    std::memcpy(&version, d_.data() + 23, 4);
    wide_ = version >= 7500;
  }

  Counts Count() {
    Walk(27, d_.size(), "");
    return counts_;
  }
  // The files the textures' images name.
  const std::set<std::string> &files() const { return files_; }

 private:
  uint64_t Number(size_t at, int bytes) const {
    uint64_t v = 0;
    std::memcpy(&v, d_.data() + at, bytes);
    return v;
  }

  // The properties from at: the string ones in *strings; the element
  // count of the first array in *array_length.
  void Properties(size_t at, uint64_t count, std::vector<std::string> *strings, uint64_t *array_length) const {
    for (uint64_t p = 0; p < count; ++p) {
      const char type = d_[at++];
      if (std::strchr("fdlib", type)) {
        if (*array_length == 0) *array_length = Number(at, 4);
        at += 12 + Number(at + 8, 4);
      } else if (type == 'S' || type == 'R') {
        strings->push_back(d_.substr(at + 4, Number(at, 4)));
        at += 4 + Number(at, 4);
      } else {
        at += type == 'Y' ? 2 : type == 'C' ? 1 : type == 'I' || type == 'F' ? 4 : 8;
      }
    }
  }

  void Walk(size_t at, size_t limit, const std::string &parent) {
    const int field = wide_ ? 8 : 4;
    while (at < limit) {
      const uint64_t end = Number(at, field), count = Number(at + field, field), length = Number(at + 2 * field, field);
      if (end == 0) return;
      const size_t name_at = at + 3 * field + 1;
      const std::string name = d_.substr(name_at, static_cast<uint8_t>(d_[at + 3 * field]));
      std::vector<std::string> strings;
      uint64_t array_length = 0;
      Properties(name_at + name.size(), count, &strings, &array_length);
      Note(parent, name, strings, array_length);
      const size_t nested = name_at + name.size() + length;
      if (nested < end) Walk(nested, end, name);
      at = end;
    }
  }

  void Note(const std::string &parent, const std::string &name, const std::vector<std::string> &strings,
            uint64_t array_length) {
    if (name == "PolygonVertexIndex") counts_["triangles"] += static_cast<long>(array_length / 3);
    if (parent == "Video" && name == "RelativeFilename" && !strings.empty()) files_.insert(strings[0]);
    if (parent != "Objects") return;
    static const std::map<std::string, std::string> kObjects = {
        {"Model", "nodes"}, {"Geometry", "meshes"}, {"Material", "materials"}, {"Video", "textures"}};
    if (auto it = kObjects.find(name); it != kObjects.end()) ++counts_[it->second];
    if (name == "NodeAttribute" && strings.size() >= 2 && (strings[1] == "Light" || strings[1] == "Camera"))
      ++counts_[strings[1] == "Light" ? "lights" : "cameras"];
  }

  std::string d_;
  bool wide_ = false;
  std::set<std::string> files_;
  Counts counts_{{"nodes", 0}, {"meshes", 0},   {"triangles", 0}, {"materials", 0},
                 {"textures", 0}, {"lights", 0}, {"cameras", 0}};
};

// Read by lib3mf: build items as nodes, mesh objects as meshes, the
// triangles of every build item, the base materials.
Counts ThreeMfCounts(const std::string &path) {
  ThreeMfFacts facts;
  const WorldScene scene = ThreeMfScene(path, &facts);
  return {{"nodes", facts.items},
          {"meshes", facts.objects},
          {"triangles", static_cast<long>(scene.triangles.size())},
          {"materials", facts.materials},
          {"textures", 0},
          {"lights", 0},
          {"cameras", 0}};
}

void AddAssimpNodes(const aiNode &node, long *nodes) {
  *nodes += node.mNumChildren;
  for (unsigned i = 0; i < node.mNumChildren; ++i) AddAssimpNodes(*node.mChildren[i], nodes);
}

// Read back by assimp's importer: every node below the root, every mesh.
// PLY and STL hold one mesh and no nodes.
Counts AssimpCounts(const std::string &path, std::set<std::string> *files) {
  Assimp::Importer importer;
  const aiScene *scene = importer.ReadFile(path, 0);
  EXPECT_NE(scene, nullptr) << path << ": " << importer.GetErrorString();
  if (scene == nullptr) return {};
  Counts counts{{"nodes", 0}, {"meshes", scene->mNumMeshes}, {"triangles", 0}, {"materials", scene->mNumMaterials},
                {"textures", 0}, {"lights", scene->mNumLights}, {"cameras", scene->mNumCameras}};
  long by_size[4] = {};                        // faces by their number of indices, 3 for three or more
  for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
    const aiMesh &mesh = *scene->mMeshes[m];
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) ++by_size[std::min(mesh.mFaces[f].mNumIndices, 3u)];
  }
  counts["triangles"] = by_size[3];
  AddLinesAndPoints(counts, by_size[2], by_size[1]);
  std::set<std::string> textures;
  for (unsigned m = 0; m < scene->mNumMaterials; ++m) {
    aiString texture;
    if (scene->mMaterials[m]->GetTexture(aiTextureType_DIFFUSE, 0, &texture) == AI_SUCCESS) textures.insert(texture.C_Str());
  }
  counts["textures"] = static_cast<long>(textures.size());
  *files = textures;
  const std::string extension = Extension(path);
  if (extension == "ply" || extension == "stl") {
    counts["materials"] = 0;  // what the importer makes up
  } else {
    AddAssimpNodes(*scene->mRootNode, &counts["nodes"]);
  }
  return counts;
}

}  // namespace

Counts ContentCounts(const std::string &path) {
  const std::string extension = Extension(path);
  Counts counts;
  std::set<std::string> textures;              // texture files the output names, copied beside it
  if (extension == "glb" || extension == "gltf") {
    counts = GltfCounts(path);
  } else if (extension == "json") {
    counts = DumpCounts(path);
  } else if (extension == "obj") {
    return ObjCounts(path);
  } else if (extension == "x3d" || extension == "wrl") {
    const VrmlFile file = ReadVrmlFile(path);
    EXPECT_EQ(file.error, "") << path;
    counts = VrmlCounts(file);
    for (const VrmlNode *node : AllNodes(*file.root)) {
      if (node->type == "ImageTexture" && node->use.empty()) textures.insert(node->values.at("url").at(0));
    }
  } else if (extension == "3mf") {
    counts = ThreeMfCounts(path);
  } else if (extension == "fbx") {
    FbxReader reader(ReadFile(path));
    counts = reader.Count();
    textures = reader.files();
  } else {
    counts = AssimpCounts(path, &textures);
  }
  counts["bytes"] = FileBytes(path);
  for (const std::string &texture : textures) counts["bytes"] += FileBytes(path.substr(0, path.find_last_of('/') + 1) + texture);
  return counts;
}

}  // namespace kavrel_test
