#include "scene/input_limits.h"

#include <Inventor/SoInput.h>
#include <Inventor/lists/SbStringList.h>
#include <Inventor/nodes/SoNode.h>

#include <string>

#include "geometry/geometry.h"
#include "host/import_io.h"
#include "scene/graph_survey.h"
#include "scene/guarded_input.h"
#include "scene/input_prescan.h"
#include "scene/referenced_files.h"
#include "scene/scene.h"
#include "state/state.h"

namespace {

[[noreturn]] void Refuse(const std::string &why) { throw InventorInputRefused("Input refused: " + why + "."); }

std::string Describe(const SoNode *node) {
  const SbName name = node->getName();
  const std::string type = node->getTypeId().getName().getString();
  if (name.getLength() > 0) return type + " '" + name.getString() + "'";
  return (std::string("AEIOU").find(type[0]) == std::string::npos ? "a " : "an ") + type;
}

// Where Coin3D will look for the files the input names: the input's own
// directory (its reader puts it first) and then its search list.
std::vector<std::string> SearchDirectories(const char *path) {
  std::vector<std::string> directories = {SoInput::getPathname(path).getString()};
  const SbStringList &list = SoInput::getDirectories();
  for (int i = 0; i < list.getLength(); ++i) directories.push_back(list[i]->getString());
  return directories;
}

// Each shape node once, before anything is counted or tessellated.
uint64_t RepairAndCountTriangles(SoNode *shape) {
  if (DropEmptyFaces(shape)) {
    const std::string warning =
        "Warning: " + Describe(shape) + " has empty faces (a -1 after a -1), which would end its tessellation; they "
        "are left out and every face after them is imported.";
    Import_IO_Report_Error(1, warning.c_str());
  }
  return CountShapeNodeTriangles(shape);
}

}  // namespace

void RefuseUnreadableInput(const char *path) {
  const InputPrescan scan = PrescanInput(path);
  if (!scan.problem.empty()) Refuse(scan.problem);
  const std::string blocking = FindBlockingReference(scan.file_names, SearchDirectories(path));
  if (!blocking.empty()) Refuse(blocking);
}

void RefuseStoppedRead(const GuardedInput &input) {
  if (!input.stopped().empty()) Refuse(input.stopped());
  if (!input.include_error().empty()) Refuse("an included file could not be read: " + input.include_error());
  for (const std::string &name : input.missing_includes()) {
    const std::string warning = "Warning: the included file '" + name + "' was not found; its contents are missing.";
    Import_IO_Report_Error(1, warning.c_str());
  }
}

void RefuseUntraversableGraph(SoNode *root, const ImportOptions &options) {
  const GraphSurvey survey = SurveySceneGraph(root, RepairAndCountTriangles);
  if (survey.cycle) Refuse(Describe(survey.cycle) + " contains itself (a DEF/USE cycle the traversal cannot finish)");
  if (survey.depth > kMaxNestingDepth)
    Refuse("nodes nested " + std::to_string(survey.depth) + " deep, more than " + std::to_string(kMaxNestingDepth));
  const uint64_t limit = options.max_triangles > 0 ? static_cast<uint64_t>(options.max_triangles) : 0;
  if (limit > 0 && (survey.triangles > limit || survey.shape_instances > limit)) {
    Refuse("the scene would make " + std::to_string(survey.shape_instances) + " shape instances with " +
           std::to_string(survey.triangles) + " triangles, more than the limit of " + std::to_string(limit) +
           " triangles (max_triangles)");
  }
}
