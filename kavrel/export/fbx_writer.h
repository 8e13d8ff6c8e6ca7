// Binary FBX 7.4 of the export model, written by our own writer (assimp
// 5.2's FBX exporter wrote files that neither Blender nor assimp's own
// importer could read). One file, the texture images copied beside it as
// for OBJ; the mapping is in README.md ("FBX") and fbx_plan.h.
#ifndef KAVREL_EXPORT_FBX_WRITER_H
#define KAVREL_EXPORT_FBX_WRITER_H

#include <string>

#include "kavrel/export/export_model.h"
#include "kavrel/export/fbx_plan.h"
#include "kavrel/host.h"

namespace kavrel {

// Writes path as plan says (PlanFbx) and the texture copies, all renamed
// into place together; false with a message naming the file on failure.
bool ExportFbx(const Host &host, const ExportModel &model, const FbxPlan &plan, const std::string &path,
               std::string *error, ExportSummary *summary);

}  // namespace kavrel

#endif
