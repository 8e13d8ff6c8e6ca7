// The formats written from the export model through assimp's exporters:
// binary PLY and STL, and COLLADA.
#ifndef KAVREL_EXPORT_ASSIMP_EXPORT_H
#define KAVREL_EXPORT_ASSIMP_EXPORT_H

#include <string>

#include "kavrel/export/export_model.h"
#include "kavrel/host.h"

namespace kavrel {

// Writes the model in format, every file staged and renamed into place
// together; false with a message naming the file on failure.
bool ExportWithAssimp(const Host &host, const ExportModel &model, const std::string &path, ExportFormat format, std::string *error,
                      ExportSummary *summary);

}  // namespace kavrel

#endif
