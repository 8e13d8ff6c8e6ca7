#include "kavrel/cli/output_summary.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "kavrel/cli/console_reports.h"

namespace kavrel {

std::string OutputSummaryLine(const std::string &path, ExportFormat format, const ExportSummary &summary) {
  std::vector<std::pair<size_t, const char *>> counts = {
      {summary.nodes, "nodes"}, {summary.meshes, "meshes"}, {summary.triangles, "triangles"}};
  // Most scenes have neither: their line stays as it always was.
  if (summary.lines > 0) counts.emplace_back(summary.lines, "lines");
  if (summary.points > 0) counts.emplace_back(summary.points, "points");
  counts.insert(counts.end(), {{summary.materials, "materials"},
                               {summary.textures, "textures"},
                               {summary.lights, "lights"},
                               {summary.cameras, "cameras"}});
  std::string line = "Output: " + path + ": " + ExportFormatName(format);
  for (const auto &[count, what] : counts) line += ", " + std::to_string(count) + " " + what;
  return line + ", " + std::to_string(summary.bytes) + " bytes";
}

void PrintOutputSummary(const std::string &path, ExportFormat format, const ExportSummary &summary) {
  EndProgressLine();
  std::printf("%s\n", OutputSummaryLine(path, format, summary).c_str());
}

}  // namespace kavrel
