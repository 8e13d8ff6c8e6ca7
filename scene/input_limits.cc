#include "scene/input_limits.h"

#include <Inventor/nodes/SoNode.h>

#include <string>

#include "geometry/geometry.h"
#include "plugin/plugin.h"
#include "scene/graph_survey.h"
#include "scene/input_prescan.h"

namespace {

[[noreturn]] void Refuse(const std::string &why) { throw InventorInputRefused("Input refused: " + why + "."); }

std::string Describe(const SoNode *node) {
  const SbName name = node->getName();
  const std::string type = node->getTypeId().getName().getString();
  return name.getLength() > 0 ? type + " '" + name.getString() + "'" : "a " + type;
}

}  // namespace

void RefuseUnreadableInput(const char *path) {
  const std::string problem = PrescanInput(path);
  if (!problem.empty()) Refuse(problem);
}

void RefuseUntraversableGraph(SoNode *root, const ImportOptions &options) {
  const GraphSurvey survey = SurveySceneGraph(root, CountShapeNodeTriangles);
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
