// The exporters' entry point declared in kavrel/host.h: the JSON dump from
// the scene database, every other format from the export model.
#include <exception>

#include "kavrel/export/assimp_export.h"
#include "kavrel/export/atomic_file.h"
#include "kavrel/export/export_model.h"
#include "kavrel/export/fbx_writer.h"
#include "kavrel/export/gltf_stages.h"
#include "kavrel/export/obj_writer.h"
#include "kavrel/export/scene_dump.h"
#include "kavrel/export/threemf_writer.h"
#include "kavrel/export/vrml_writer.h"
#include "kavrel/host.h"

namespace kavrel {
namespace {

uint64_t SpanBytes(const ByteSpans &spans) {
  uint64_t bytes = 0;
  for (const auto &span : spans) bytes += span.second;
  return bytes;
}

// The model's warnings, then one warning for everything the export repaired.
void ReportModelNotes(const Host &host, const ExportModel &model, const ExportNotes &writer_repairs) {
  for (const std::string &warning : model.warnings) ReportExportWarning(host, warning);
  ExportNotes repairs = model.repairs;
  repairs.Add(writer_repairs);
  const std::string summary = repairs.Summary();
  if (!summary.empty()) ReportExportWarning(host, summary);
}

ExportSummary SummarizeGltf(const GltfDocument &doc) {
  ExportSummary summary;
  summary.nodes = doc.Count(GltfArray::kNodes);
  summary.meshes = doc.Count(GltfArray::kMeshes);
  summary.triangles = doc.IndexedPrimitives(3);
  summary.lines = doc.IndexedPrimitives(2);
  summary.points = doc.IndexedPrimitives(1);
  summary.materials = doc.Count(GltfArray::kMaterials);
  summary.textures = doc.Count(GltfArray::kTextures);
  summary.lights = doc.LightCount();
  summary.cameras = doc.Count(GltfArray::kCameras);
  return summary;
}

bool WriteGltf(const Host &host, const ExportModel &model, const std::string &path, GltfContainer container,
               std::string *reason, ExportSummary *summary) {
  GltfDocument doc(container);
  BuildGltf(host, model, doc);
  ReportModelNotes(host, model, doc.notes());
  *summary = SummarizeGltf(doc);
  const ByteSpans spans = doc.Serialize();
  summary->bytes = SpanBytes(spans);
  return WriteFileAtomically(path, spans, [&host] { return host.AbortRequested(); }, reason);
}

bool WriteFbx(const Host &host, const ExportModel &model, const std::string &path, std::string *reason,
              ExportSummary *summary) {
  const FbxPlan plan = PlanFbx(host, model, path);
  ReportModelNotes(host, model, plan.notes);
  return ExportFbx(host, model, plan, path, reason, summary);
}

bool WriteExport(const Host &host, const std::string &path, ExportFormat format, std::string *reason,
                 ExportSummary *summary) {
  if (format == ExportFormat::kJson) {
    const std::string text = DumpScene(host.scene(), summary) + "\n";
    summary->bytes = text.size();
    return WriteFileAtomically(path, ByteSpans{{text.data(), text.size()}}, [&host] { return host.AbortRequested(); },
                               reason);
  }
  const ExportModel model = BuildExportModel(host.scene());
  if (format == ExportFormat::kGlb || format == ExportFormat::kGltf) {
    return WriteGltf(host, model, path, format == ExportFormat::kGlb ? GltfContainer::kGlb : GltfContainer::kGltf,
                     reason, summary);
  }
  if (format == ExportFormat::kWrl || format == ExportFormat::kX3d) {
    ExportNotes writer_repairs;
    const VrmlFlavour flavour = format == ExportFormat::kX3d ? VrmlFlavour::kX3d : VrmlFlavour::kVrml97;
    const bool written = ExportVrml(host, model, path, flavour, reason, summary, &writer_repairs);
    ReportModelNotes(host, model, writer_repairs);
    return written;
  }
  if (format == ExportFormat::kFbx) return WriteFbx(host, model, path, reason, summary);
  ReportModelNotes(host, model, {});
  if (format == ExportFormat::kObj) return ExportObj(host, model, path, reason, summary);
  if (format == ExportFormat::k3mf) return ExportThreeMf(host, model, path, reason, summary);
  return ExportWithAssimp(host, model, path, format, reason, summary);
}

}  // namespace

bool ExportScene(const Host &host, const std::string &path, ExportFormat format, std::string *error,
                 ExportSummary *summary) {
  std::string reason;
  ExportSummary written;
  try {
    host.SettleMeshes();
    if (WriteExport(host, path, format, &reason, &written)) {
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
