#include "geometry/nurbs/node_input.h"

#include <cmath>

#include <Inventor/elements/SoComplexityElement.h>
#include <Inventor/elements/SoComplexityTypeElement.h>
#include <Inventor/elements/SoCoordinateElement.h>
#include <Inventor/misc/SoState.h>
#include <Inventor/nodes/SoIndexedNurbsSurface.h>
#include <Inventor/nodes/SoNurbsSurface.h>

#include "geometry/nurbs/field_checks.h"
#include "geometry/nurbs/texture_input.h"

namespace {

template <typename Surface>
NurbsFields FieldsOf(const Surface *node) {
  NurbsFields f;
  f.num_u = &node->numUControlPoints;
  f.num_v = &node->numVControlPoints;
  f.u_knots = &node->uKnotVector;
  f.v_knots = &node->vKnotVector;
  f.num_s = &node->numSControlPoints;
  f.num_t = &node->numTControlPoints;
  f.s_knots = &node->sKnotVector;
  f.t_knots = &node->tKnotVector;
  return f;
}

bool Enabled(SoState *state, int stack_index) { return state && state->isElementEnabled(stack_index); }

// Homogeneous control points (x, y, z, w) from Coordinate3 or Coordinate4.
bool ReadControlPoints(SoState *state, const NurbsFields &fields, int64_t count, std::vector<double> &control,
                       std::string &problem) {
  if (!Enabled(state, SoCoordinateElement::getClassStackIndex())) {
    problem = "the state holds no coordinates";
    return false;
  }
  const SoCoordinateElement *coords = SoCoordinateElement::getInstance(state);
  const NetIndex index(fields.coord_index, "coordIndex", "coordinates");
  if (!index.Check(count, coords->getNum(), problem)) return false;
  control.resize(static_cast<size_t>(count) * 4);
  for (int k = 0; k < count; ++k) {
    const int entry = index.Entry(k);
    SbVec4f p;
    if (coords->is3D()) {
      const SbVec3f &q = coords->get3(entry);
      p.setValue(q[0], q[1], q[2], 1.0f);
    } else {
      p = coords->get4(entry);
    }
    if (!std::isfinite(p[0]) || !std::isfinite(p[1]) || !std::isfinite(p[2]) || !std::isfinite(p[3])) {
      problem = "coordinate " + std::to_string(entry) + " is not a finite point";
      return false;
    }
    if (!(p[3] > 0.0f)) {
      problem = "coordinate " + std::to_string(entry) + " has weight " + nurbs::FormatNumber(p[3]) +
                "; weights must be positive";
      return false;
    }
    for (int c = 0; c < 4; ++c) control[4 * static_cast<size_t>(k) + c] = p[c];
  }
  return true;
}

bool ReadGeometry(SoState *state, const NurbsFields &fields, nurbs::NurbsSurface &surface, std::string &problem) {
  if (!CheckControlCount(*fields.num_u, "numUControlPoints", problem)) return false;
  if (!CheckControlCount(*fields.num_v, "numVControlPoints", problem)) return false;
  const int64_t count_u = fields.num_u->getValue(), count_v = fields.num_v->getValue();
  if (!ReadKnotField(*fields.u_knots, count_u, "uKnotVector", surface.u, problem)) return false;
  if (!ReadKnotField(*fields.v_knots, count_v, "vKnotVector", surface.v, problem)) return false;
  if (!ReadControlPoints(state, fields, count_u * count_v, surface.control, problem)) return false;
  nurbs::ComputeScale(surface);
  return true;
}

int CurvedSegments(SoState *state) {
  double complexity = SoComplexityElement::getDefault();
  auto kind = nurbs::ComplexityKind::kObjectSpace;
  if (Enabled(state, SoComplexityElement::getClassStackIndex())) complexity = SoComplexityElement::get(state);
  if (Enabled(state, SoComplexityTypeElement::getClassStackIndex())) {
    kind = static_cast<nurbs::ComplexityKind>(SoComplexityTypeElement::get(state));
  }
  return nurbs::CurvedSegmentsPerSpan(complexity, kind);
}

}  // namespace

bool GetNurbsFields(const SoNode *node, NurbsFields &fields) {
  if (!node) return false;
  if (node->isOfType(SoIndexedNurbsSurface::getClassTypeId())) {
    const auto *indexed = static_cast<const SoIndexedNurbsSurface *>(node);
    fields = FieldsOf(indexed);
    fields.coord_index = &indexed->coordIndex;
    fields.texture_index = &indexed->textureCoordIndex;
    return true;
  }
  if (node->isOfType(SoNurbsSurface::getClassTypeId())) {
    fields = FieldsOf(static_cast<const SoNurbsSurface *>(node));
    return true;
  }
  return false;
}

bool ReadNurbsNodeInput(SoState *state, const NurbsFields &fields, NurbsNodeInput &input, std::string &problem,
                        std::string &note) {
  note.clear();
  if (!ReadGeometry(state, fields, input.tessellation.surface, problem)) return false;
  ReadNurbsTexture(state, fields, input, note);
  input.tessellation.curved_segments = CurvedSegments(state);
  return true;
}
