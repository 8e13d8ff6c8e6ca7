// TessellateNurbsSurface: the plug-in's entry to our NURBS tessellator. The
// surface never reaches Coin3D's own tessellator, which needs an OpenGL
// context and crashes without a display.
#include "geometry/nurbs/nurbs.h"

#include <new>

#include <Inventor/SbVec3f.h>
#include <Inventor/actions/SoCallbackAction.h>
#include <Inventor/SoPrimitiveVertex.h>
#include <Inventor/elements/SoMultiTextureCoordinateElement.h>

#include "geometry/nurbs/node_input.h"
#include "geometry/nurbs/trim_profiles.h"

namespace {

void AddNote(std::string &notes, const std::string &note) {
  if (note.empty()) return;
  if (!notes.empty()) notes += "; ";
  notes += note;
}

void ReadTrims(SoState *state, NurbsNodeInput &input, std::string &notes) {
  std::string problem;
  // Trim curves are seen at the scale of the whole surface: twice the
  // surface's density per span keeps them as smooth as its edges.
  const int curve_segments = 2 * input.tessellation.curved_segments;
  if (!ReadTrimLoops(state, curve_segments, input.tessellation.loops, problem)) {
    AddNote(notes, "trim curves ignored, the surface is imported untrimmed: " + problem);
  }
}

void ApplyTextureFunction(const SoMultiTextureCoordinateElement &function, nurbs::SurfaceMesh &mesh) {
  for (nurbs::SurfaceVertex &v : mesh.vertices) {
    const SbVec4f &st = function.get(0, SbVec3f(v.point), SbVec3f(v.normal));
    v.tex[0] = st[0];
    v.tex[1] = st[1];
  }
}

void FillCorners(const nurbs::SurfaceMesh &mesh, std::vector<SoPrimitiveVertex> &corners) {
  corners.resize(mesh.triangles.size());
  for (size_t k = 0; k < corners.size(); ++k) {
    const nurbs::SurfaceVertex &v = mesh.vertices[mesh.triangles[k]];
    SoPrimitiveVertex &corner = corners[k];
    corner.setPoint(SbVec3f(v.point));
    corner.setNormal(SbVec3f(v.normal));
    corner.setTextureCoords(v.tex[0], v.tex[1]);
    corner.setMaterialIndex(0);
    corner.setDetail(nullptr);
  }
}

bool Tessellate(SoCallbackAction *action, const SoNode *node, std::vector<SoPrimitiveVertex> &corners,
                std::string &problem, std::string &notes) {
  NurbsFields fields;
  if (!action || !GetNurbsFields(node, fields)) {
    problem = "the node is not a NURBS surface";
    return false;
  }
  SoState *state = action->getState();
  NurbsNodeInput input;
  if (!ReadNurbsNodeInput(state, fields, input, problem, notes)) return false;
  ReadTrims(state, input, notes);
  nurbs::SurfaceMesh mesh;
  std::string note;
  nurbs::TessellateSurface(input.tessellation, mesh, note);
  AddNote(notes, note);
  if (input.texture_function) ApplyTextureFunction(*input.texture_function, mesh);
  FillCorners(mesh, corners);
  return true;
}

}  // namespace

bool TessellateNurbsSurface(SoCallbackAction *action, const SoNode *node, std::vector<SoPrimitiveVertex> &corners,
                            SbString &reason, SbString *warning) {
  corners.clear();
  if (warning) warning->makeEmpty();
  std::string problem, notes;
  bool done = false;
  try {
    done = Tessellate(action, node, corners, problem, notes);
  } catch (const std::bad_alloc &) {
    problem = "not enough memory to tessellate the surface";
  }
  if (!done) {
    corners.clear();
    reason = problem.c_str();
    return false;
  }
  if (warning) *warning = notes.c_str();
  return true;
}

bool TessellateNurbsSurface(SoCallbackAction *action, const SoNode *node, std::vector<SoPrimitiveVertex> &corners,
                            SbString &reason) {
  return TessellateNurbsSurface(action, node, corners, reason, nullptr);
}
