// What the traversal of a scene graph will meet, measured before it starts:
// Coin3D reads DEF/USE cycles without complaint and a shared subgraph is
// traversed once per use, so the graph is walked once here, iteratively and
// each node once, to refuse what the traversal could not survive or finish.
#ifndef SCENE_GRAPH_SURVEY_H
#define SCENE_GRAPH_SURVEY_H

#include <cstdint>

class SoNode;

struct GraphSurvey {
  const SoNode *cycle = nullptr;  // a node found inside itself; null for none (the rest is then unset)
  uint64_t depth = 0;             // nodes on the longest chain from the root, the root included
  uint64_t shape_instances = 0;   // shapes the traversal will meet, one per path (saturating)
  uint64_t triangles = 0;         // their triangles, each shape counted by itself (saturating)
};

// Triangles one shape node makes, counted on the node by itself.
using ShapeTriangleCount = uint64_t (*)(SoNode *shape);

// Walks every child of every node (switches and levels of detail count the
// children the traversal can take: the chosen one, or the largest).
GraphSurvey SurveySceneGraph(SoNode *root, ShapeTriangleCount count);

#endif
