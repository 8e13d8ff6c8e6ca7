#include "kavrel/export/fbx_writer.h"

#include "kavrel/export/fbx_stages.h"
#include "kavrel/export/staged_files.h"

namespace kavrel {
namespace {

// What the file holds, as the summary line counts it: every model (lights
// and cameras too), each geometry once with its triangles.
ExportSummary Summarize(const FbxPlan &plan) {
  ExportSummary summary;
  summary.nodes = plan.models.size();
  summary.meshes = plan.geometries.size();
  for (const FbxGeometry &geometry : plan.geometries) summary.triangles += geometry.triangles;
  summary.materials = plan.materials.size();
  summary.textures = plan.copies.copies.size();
  summary.lights = plan.lights;
  summary.cameras = plan.cameras;
  return summary;
}

void Stage(const std::string &bytes, const std::string &path, StagedFiles &files) {
  FILE *file = files.Open(path);
  if (file == nullptr) return;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  files.Close(file, path);
}

}  // namespace

bool ExportFbx(const Host &host, const ExportModel &model, const FbxPlan &plan, const std::string &path,
               std::string *error, ExportSummary *summary) {
  FbxBinary out;
  WriteFbxDocument(model, plan, out);
  StagedFiles files(host);
  if (out.Failed()) {
    files.Fail("cannot write '" + path + "': the scene needs more than the 4 GB an FBX 7.4 file can address");
  } else {
    Stage(out.bytes(), path, files);
  }
  *summary = Summarize(plan);
  return CommitWithTextureCopies(files, plan.copies, path, error, summary);
}

}  // namespace kavrel
