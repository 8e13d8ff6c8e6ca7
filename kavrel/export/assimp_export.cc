#include "kavrel/export/assimp_export.h"

#include <assimp/Exporter.hpp>

#include "kavrel/export/assimp_io.h"
#include "kavrel/export/assimp_scene.h"
#include "kavrel/export/obj_writer.h"
#include "kavrel/export/staged_files.h"

namespace kavrel {
namespace {

using OwnWriter = void (*)(const aiScene &scene, const std::string &path, StagedFiles &files);

struct AssimpFormat {
  ExportFormat format;
  const char *id;                              // assimp's exporter, null for a writer of ours
  bool world_mesh;                             // one mesh in world space, no nodes (assimp pre-transforms)
  bool materials;                              // keeps materials
  bool textures;                               // materials name texture files, copied beside the output
  bool lights_cameras;                         // keeps lights and cameras
  bool writes_itself;                          // opens the file by name, not through the I/O system
  bool placements_at_root;                     // reads only the root's children, without matrices
  OwnWriter own_writer = nullptr;              // writes the built scene instead of assimp's exporter
};

constexpr AssimpFormat kAssimpFormats[] = {
    {ExportFormat::kObj, nullptr, false, true, true, false, false, false, WriteObj},
    {ExportFormat::kPly, "plyb", true, false, false, false, false, false},
    {ExportFormat::kStl, "stlb", true, false, false, false, false, false},
    {ExportFormat::kDae, "collada", false, true, true, true, false, false},
    {ExportFormat::k3mf, "3mf", false, true, false, false, true, true},
    {ExportFormat::kFbx, "fbx", false, true, true, true, false, false},
    // assimp 5.2's X3D writer crashes on lights, drops cameras, and writes
    // texture URLs unquoted (not a valid MFString).
    {ExportFormat::kX3d, "x3d", false, true, false, false, false, false},
};

const AssimpFormat *Lookup(ExportFormat format) {
  for (const AssimpFormat &entry : kAssimpFormats) {
    if (entry.format == format) return &entry;
  }
  return nullptr;
}

std::string DirectoryOf(const std::string &path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

ExportSummary Summarize(const AssimpScene &built, const AssimpFormat &format) {
  const aiScene &scene = built.scene();
  ExportSummary summary;
  if (format.world_mesh) {
    summary.meshes = built.placed_triangles() > 0 ? 1 : 0;
    summary.triangles = built.placed_triangles();
    return summary;
  }
  summary.nodes = built.nodes();
  // 3MF and our OBJ write a world-space copy of each placement.
  const bool copies = format.placements_at_root || format.own_writer == WriteObj;
  summary.meshes = copies ? built.placed_meshes() : scene.mNumMeshes;
  summary.triangles = copies ? built.placed_triangles() : built.triangles();
  if (format.materials) summary.materials = scene.mNumMaterials;
  if (format.textures) summary.textures = built.textures().size();
  if (format.lights_cameras) {
    summary.lights = scene.mNumLights;
    summary.cameras = scene.mNumCameras;
  }
  return summary;
}

// Runs the format's writer into staged files.
void RunExporter(const AssimpScene &built, const AssimpFormat &format, const std::string &path, StagedFiles &files) {
  if (format.own_writer != nullptr) {
    format.own_writer(built.scene(), path, files);
    return;
  }
  Assimp::Exporter exporter;
  std::string target = path;
  if (format.writes_itself) {
    // Its archive is written straight to the name it is given: a staged one.
    target = files.Stage(path);
    if (target.empty()) return;
  } else {
    exporter.SetIOHandler(new StagingIOSystem(files));  // the exporter owns it
  }
  if (exporter.Export(&built.scene(), format.id, target.c_str()) != AI_SUCCESS) {
    files.Fail("cannot write '" + path + "': " + exporter.GetErrorString());
  }
}

}  // namespace

bool ExportWithAssimp(const Host &host, const std::string &path, ExportFormat format, std::string *error,
                      ExportSummary *summary) {
  const AssimpFormat *entry = Lookup(format);
  if (entry == nullptr) {
    *error = "cannot write '" + path + "': no writer for this format";
    return false;
  }
  const AssimpScene built(host, {entry->textures, entry->placements_at_root, entry->lights_cameras});
  StagedFiles files(host);
  RunExporter(built, *entry, path, files);
  const std::string directory = DirectoryOf(path);
  for (const TextureCopy &copy : built.textures()) {
    if (!files.Failed()) files.Copy(copy.source, directory + copy.name);
  }
  *summary = Summarize(built, *entry);
  summary->bytes = files.Bytes();
  if (!files.Commit()) {
    *error = files.error();
    return false;
  }
  return true;
}

}  // namespace kavrel
