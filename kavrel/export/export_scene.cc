// The exporters' entry point declared in kavrel/host.h.
#include <exception>

#include "kavrel/export/assimp_export.h"
#include "kavrel/export/atomic_file.h"
#include "kavrel/export/gltf_stages.h"
#include "kavrel/export/gltf_summary.h"
#include "kavrel/host.h"

namespace kavrel {
namespace {

uint64_t SpanBytes(const ByteSpans &spans) {
  uint64_t bytes = 0;
  for (const auto &span : spans) bytes += span.second;
  return bytes;
}

bool WriteExport(const Host &host, const std::string &path, ExportFormat format, std::string *reason,
                 ExportSummary *summary) {
  const auto stop_requested = [&host] { return host.AbortRequested(); };
  if (format == ExportFormat::kJson) {
    const std::string text = DumpSceneJson(host.scene()) + "\n";
    summary->bytes = text.size();
    return WriteFileAtomically(path, ByteSpans{{text.data(), text.size()}}, stop_requested, reason);
  }
  if (format != ExportFormat::kGlb && format != ExportFormat::kGltf) {
    return ExportWithAssimp(host, path, format, reason, summary);
  }
  GltfDocument doc(format == ExportFormat::kGlb ? GltfContainer::kGlb : GltfContainer::kGltf);
  BuildGltf(host, doc);
  *summary = SummarizeGltf(doc);
  const ByteSpans spans = doc.Serialize();
  summary->bytes = SpanBytes(spans);
  return WriteFileAtomically(path, spans, stop_requested, reason);
}

}  // namespace

bool ExportScene(const Host &host, const std::string &path, ExportFormat format, std::string *error,
                 ExportSummary *summary) {
  std::string reason;
  ExportSummary written;
  try {
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
