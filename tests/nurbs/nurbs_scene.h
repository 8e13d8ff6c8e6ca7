// Runs TessellateNurbsSurface over every NURBS surface of a scene written in
// Inventor text, from the pre-callback the plug-in uses, with no triangle
// callback registered (Coin3D must never tessellate the surfaces itself).
#ifndef TESTS_NURBS_NURBS_SCENE_H
#define TESTS_NURBS_NURBS_SCENE_H

#include <functional>
#include <string>
#include <vector>

#include <Inventor/SbVec2f.h>
#include <Inventor/SoPrimitiveVertex.h>

class SoSeparator;

struct SurfaceResult {
  bool ok = false;
  std::vector<SoPrimitiveVertex> corners;
  std::string reason;
  std::string warning;
};

// Reads text (the "#Inventor V2.1 ascii" header is added), lets edit change
// the scene, then tessellates each surface in traversal order.
std::vector<SurfaceResult> TessellateScene(const std::string &text,
                                           const std::function<void(SoSeparator *)> &edit = nullptr);

// The only surface of a scene.
SurfaceResult TessellateOne(const std::string &text, const std::function<void(SoSeparator *)> &edit = nullptr);

// Triangle area in x and y, the parameter plane for the flat test surfaces.
double PlanarArea(const std::vector<SoPrimitiveVertex> &corners);

SbVec2f Tex(const SoPrimitiveVertex &corner);

#endif
