// Built instead of the assimp exporters where assimp is not available (the
// Windows build): the formats it would write are refused with one line.
#include "kavrel/export/assimp_export.h"

namespace kavrel {

bool ExportWithAssimp(const Host &, const ExportModel &, const std::string &path, ExportFormat format,
                      std::string *error, ExportSummary *) {
  *error = "cannot write '" + path + "': this build has no ." + ExportFormatName(format) + " writer (it needs assimp)";
  return false;
}

}  // namespace kavrel
