// Built instead of the 3MF writer where lib3mf is not available (the
// Windows build): a 3MF output is refused with one line.
#include "kavrel/export/threemf_writer.h"

namespace kavrel {

bool ExportThreeMf(const Host &, const ExportModel &, const std::string &path, std::string *error,
                   ExportSummary *) {
  *error = "cannot write '" + path + "': this build has no .3mf writer (it needs lib3mf)";
  return false;
}

}  // namespace kavrel
