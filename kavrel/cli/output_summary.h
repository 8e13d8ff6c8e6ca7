// The command's one line about what an export wrote, after the plug-in's
// statistics on standard output:
//   Output: chair.obj: obj, 5 nodes, 3 meshes, 846 triangles, 2 materials, 1 textures, 0 lights, 0 cameras, 40312 bytes
// with ", N lines" and ", N points" after the triangles when the file holds any.
#ifndef KAVREL_CLI_OUTPUT_SUMMARY_H
#define KAVREL_CLI_OUTPUT_SUMMARY_H

#include <string>

#include "kavrel/host.h"

namespace kavrel {

std::string OutputSummaryLine(const std::string &path, ExportFormat format, const ExportSummary &summary);
void PrintOutputSummary(const std::string &path, ExportFormat format, const ExportSummary &summary);

}  // namespace kavrel

#endif
