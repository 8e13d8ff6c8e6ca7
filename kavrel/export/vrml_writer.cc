#include "kavrel/export/vrml_writer.h"

#include "kavrel/export/staged_files.h"
#include "kavrel/export/vrml_stages.h"

namespace kavrel {

bool ExportVrml(const Host &host, const ExportModel &model, const std::string &path, VrmlFlavour flavour,
                std::string *error, ExportSummary *summary, ExportNotes *repairs) {
  const TextureCopies textures = PlanTextureCopies(host, model, path);
  StagedFiles files(host);
  VrmlCounts counts;
  WriteStagedText(files, path, [&](TextOutput &out) {
    const std::unique_ptr<VrmlEncoding> encoding =
        flavour == VrmlFlavour::kX3d ? MakeXmlEncoding(out) : MakeClassicEncoding(out);
    VrmlScene scene(model, textures, *encoding, *repairs);
    scene.Write();
    counts = scene.counts();
  });
  // Each shared geometry, material and texture counts once, as written.
  summary->nodes = counts.transforms;
  summary->meshes = counts.geometries;
  summary->triangles = counts.triangles;
  summary->lines = counts.lines;
  summary->points = counts.points;
  summary->materials = counts.materials;
  summary->textures = counts.textures;
  summary->lights = counts.lights;
  summary->cameras = counts.viewpoints;
  return CommitWithTextureCopies(files, textures, path, error, summary);
}

}  // namespace kavrel
