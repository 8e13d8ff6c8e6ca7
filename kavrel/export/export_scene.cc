// The exporters' entry point declared in kavrel/host.h: the JSON dump from
// the scene database, every other format from the export model.
#include <exception>

#include "kavrel/export/assimp_export.h"
#include "kavrel/export/atomic_file.h"
#include "kavrel/export/export_model.h"
#include "kavrel/export/gltf_stages.h"
#include "kavrel/export/obj_writer.h"
#include "kavrel/export/scene_dump.h"
#include "kavrel/export/threemf_writer.h"
#include "kavrel/host.h"

namespace kavrel {
namespace {

uint64_t SpanBytes(const ByteSpans &spans) {
  uint64_t bytes = 0;
  for (const auto &span : spans) bytes += span.second;
  return bytes;
}

// One warning for everything the export repaired.
void ReportRepairs(const ExportNotes &model_repairs, const ExportNotes &writer_repairs) {
  ExportNotes repairs = model_repairs;
  repairs.Add(writer_repairs);
  const std::string summary = repairs.Summary();
  if (!summary.empty()) ReportExportWarning(summary);
}

ExportSummary SummarizeGltf(const GltfDocument &doc) {
  ExportSummary summary;
  summary.nodes = doc.Count(GltfArray::kNodes);
  summary.meshes = doc.Count(GltfArray::kMeshes);
  summary.triangles = doc.IndexedTriangles();
  summary.materials = doc.Count(GltfArray::kMaterials);
  summary.textures = doc.Count(GltfArray::kTextures);
  summary.lights = doc.LightCount();
  summary.cameras = doc.Count(GltfArray::kCameras);
  return summary;
}

bool WriteGltf(const ExportModel &model, const std::string &path, GltfContainer container, std::string *reason,
               ExportSummary *summary) {
  GltfDocument doc(container);
  BuildGltf(model, doc);
  ReportRepairs(model.repairs, doc.notes());
  *summary = SummarizeGltf(doc);
  const ByteSpans spans = doc.Serialize();
  summary->bytes = SpanBytes(spans);
  return WriteFileAtomically(path, spans, reason);
}

bool WriteExport(const Scene &scene, const std::string &path, ExportFormat format, std::string *reason,
                 ExportSummary *summary) {
  if (format == ExportFormat::kJson) {
    const std::string text = DumpScene(scene, summary) + "\n";
    summary->bytes = text.size();
    return WriteFileAtomically(path, ByteSpans{{text.data(), text.size()}}, reason);
  }
  const ExportModel model = BuildExportModel(scene);
  if (format == ExportFormat::kGlb || format == ExportFormat::kGltf) {
    return WriteGltf(model, path, format == ExportFormat::kGlb ? GltfContainer::kGlb : GltfContainer::kGltf, reason,
                     summary);
  }
  ReportRepairs(model.repairs, {});
  if (format == ExportFormat::kObj) return ExportObj(model, path, reason, summary);
  if (format == ExportFormat::k3mf) return ExportThreeMf(model, path, reason, summary);
  return ExportWithAssimp(model, path, format, reason, summary);
}

}  // namespace

bool ExportScene(const Scene &scene, const std::string &path, ExportFormat format, std::string *error,
                 ExportSummary *summary) {
  std::string reason;
  ExportSummary written;
  try {
    if (WriteExport(scene, path, format, &reason, &written)) {
      if (summary) *summary = written;
      return true;
    }
  } catch (const std::exception &e) {  // out of memory for a huge scene
    reason = "cannot export to '" + path + "': " + e.what();
  }
  if (error) *error = reason;
  return false;
}

}  // namespace kavrel
