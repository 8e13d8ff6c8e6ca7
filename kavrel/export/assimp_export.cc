#include "kavrel/export/assimp_export.h"

#include <assimp/Exporter.hpp>

#include "kavrel/export/assimp_io.h"
#include "kavrel/export/assimp_scene.h"
#include "kavrel/export/staged_files.h"

namespace kavrel {
namespace {

struct AssimpFormat {
  ExportFormat format;
  const char *id;                              // assimp's exporter
  bool world_mesh;                             // one mesh in world space, no nodes (assimp pre-transforms)
  bool materials;                              // keeps materials
  bool textures;                               // materials name texture files, copied beside the output
  bool lights_cameras;                         // keeps lights and cameras
  bool lines;                                  // writes faces of two indices as line segments
};

// Of assimp 5.2's writers only COLLADA's keeps faces of two indices apart
// (as <lines>); STL's reads three indices of every face, and none of them
// writes points.
constexpr AssimpFormat kAssimpFormats[] = {
    {ExportFormat::kPly, "plyb", true, false, false, false, false},
    {ExportFormat::kStl, "stlb", true, false, false, false, false},
    {ExportFormat::kDae, "collada", false, true, true, true, true},
};

const AssimpFormat *Lookup(ExportFormat format) {
  for (const AssimpFormat &entry : kAssimpFormats) {
    if (entry.format == format) return &entry;
  }
  return nullptr;
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
  summary.meshes = scene.mNumMeshes;
  summary.triangles = built.triangles();
  summary.lines = built.lines();
  if (format.materials) summary.materials = scene.mNumMaterials;
  if (format.textures) summary.textures = built.textures().copies.size();
  if (format.lights_cameras) {
    summary.lights = scene.mNumLights;
    summary.cameras = scene.mNumCameras;
  }
  return summary;
}

// Runs the format's exporter into staged files.
void RunExporter(const AssimpScene &built, const AssimpFormat &format, const std::string &path, StagedFiles &files) {
  Assimp::Exporter exporter;
  exporter.SetIOHandler(new StagingIOSystem(files));  // the exporter owns it
  if (exporter.Export(&built.scene(), format.id, path.c_str()) != AI_SUCCESS) {
    files.Fail("cannot write '" + path + "': " + exporter.GetErrorString());
  }
}

}  // namespace

bool ExportWithAssimp(const Host &host, const ExportModel &model, const std::string &path, ExportFormat format, std::string *error,
                      ExportSummary *summary) {
  const AssimpFormat *entry = Lookup(format);
  if (entry == nullptr) {
    *error = "cannot write '" + path + "': no writer for this format";
    return false;
  }
  const AssimpScene built(host, model, {entry->textures, entry->lights_cameras, entry->world_mesh, entry->lines, path});
  StagedFiles files(host);
  RunExporter(built, *entry, path, files);
  *summary = Summarize(built, *entry);
  return CommitWithTextureCopies(files, built.textures(), path, error, summary);
}

}  // namespace kavrel
