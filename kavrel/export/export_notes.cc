#include "kavrel/export/export_notes.h"

#include "kavrel/host.h"

namespace kavrel {
namespace {

void Append(std::string *text, size_t count, const char *what) {
  if (count == 0) return;
  *text += text->empty() ? " " : "; ";
  *text += std::to_string(count) + " " + what;
}

}  // namespace

ExportNotes ExportNotes::Since(const ExportNotes &before) const {
  ExportNotes since;
  since.replaced_numbers = replaced_numbers - before.replaced_numbers;
  since.dropped_polygons = dropped_polygons - before.dropped_polygons;
  since.ignored_streams = ignored_streams - before.ignored_streams;
  since.flattened_projections = flattened_projections - before.flattened_projections;
  since.clamped_values = clamped_values - before.clamped_values;
  return since;
}

void ExportNotes::Add(const ExportNotes &more) {
  replaced_numbers += more.replaced_numbers;
  dropped_polygons += more.dropped_polygons;
  ignored_streams += more.ignored_streams;
  flattened_projections += more.flattened_projections;
  clamped_values += more.clamped_values;
}

std::string ExportNotes::Summary() const {
  std::string text;
  Append(&text, replaced_numbers, "non-finite numbers replaced");
  Append(&text, dropped_polygons, "bad polygons dropped");
  Append(&text, ignored_streams, "mesh streams with a wrong index count ignored");
  Append(&text, flattened_projections, "perspective matrix parts dropped");
  Append(&text, clamped_values, "light or camera values clamped");
  return text.empty() ? text : "glTF export repaired the data:" + text + ".";
}

void ReportExportWarning(const Host &host, const std::string &text) { host.ReportError(2, text); }

}  // namespace kavrel
