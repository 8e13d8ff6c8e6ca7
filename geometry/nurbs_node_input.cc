#include "geometry/nurbs_node_input.h"

#include <cmath>

#include <Inventor/elements/SoComplexityElement.h>
#include <Inventor/elements/SoComplexityTypeElement.h>
#include <Inventor/elements/SoCoordinateElement.h>
#include <Inventor/elements/SoMultiTextureCoordinateElement.h>
#include <Inventor/fields/SoMFFloat.h>
#include <Inventor/fields/SoMFInt32.h>
#include <Inventor/fields/SoSFInt32.h>
#include <Inventor/misc/SoState.h>
#include <Inventor/nodes/SoIndexedNurbsSurface.h>
#include <Inventor/nodes/SoNurbsSurface.h>

namespace {

using nurbs::FormatNumber;

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

// Maps positions of a control net to the entries of a coordinate list:
// straight through, or through an index field. index may be null.
class NetIndex {
 public:
  NetIndex(const SoMFInt32 *index, const char *index_name, const char *list_name)
      : index_(index), index_name_(index_name), list_name_(list_name) {}

  // Checks that the net of count points maps into a list of available entries.
  bool Check(int64_t count, int64_t available, std::string &problem) const {
    if (!index_) {
      if (count <= available) return true;
      problem = "the surface needs " + std::to_string(count) + " " + list_name_ + " but the state holds " +
                std::to_string(available);
      return false;
    }
    if (index_->getNum() < count) {
      problem = std::string(index_name_) + " has " + std::to_string(index_->getNum()) + " entries; the surface needs " +
                std::to_string(count);
      return false;
    }
    for (int k = 0; k < count; ++k) {
      const int32_t entry = (*index_)[k];
      if (entry < 0 || entry >= available) {
        problem = std::string(index_name_) + " entry " + std::to_string(k) + " is " + std::to_string(entry) +
                  ", outside the " + std::to_string(available) + " " + list_name_ + " in the state";
        return false;
      }
    }
    return true;
  }

  int Entry(int k) const { return index_ ? (*index_)[k] : k; }

 private:
  const SoMFInt32 *index_;
  const char *index_name_;
  const char *list_name_;
};

bool ReadControlCount(const SoSFInt32 &field, const char *name, std::string &problem) {
  if (field.getValue() >= 2) return true;
  problem = std::string(name) + " is " + std::to_string(field.getValue()) + "; a surface needs at least 2";
  return false;
}

bool ReadKnots(const SoMFFloat &field, int64_t count, const char *name, nurbs::KnotVector &knots,
               std::string &problem) {
  return nurbs::MakeKnotVector(field.getValues(0), field.getNum(), count, name, knots, problem);
}

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
    const SbVec4f p = coords->is3D() ? SbVec4f(coords->get3(entry)[0], coords->get3(entry)[1], coords->get3(entry)[2], 1.0f)
                                     : coords->get4(entry);
    if (!std::isfinite(p[0]) || !std::isfinite(p[1]) || !std::isfinite(p[2]) || !std::isfinite(p[3])) {
      problem = "coordinate " + std::to_string(entry) + " is not a finite point";
      return false;
    }
    if (!(p[3] > 0.0f)) {
      problem = "coordinate " + std::to_string(entry) + " has weight " + FormatNumber(p[3]) + "; weights must be positive";
      return false;
    }
    for (int c = 0; c < 4; ++c) control[4 * static_cast<size_t>(k) + c] = p[c];
  }
  return true;
}

bool ReadGeometry(SoState *state, const NurbsFields &fields, nurbs::NurbsSurface &surface, std::string &problem) {
  if (!ReadControlCount(*fields.num_u, "numUControlPoints", problem)) return false;
  if (!ReadControlCount(*fields.num_v, "numVControlPoints", problem)) return false;
  const int64_t count_u = fields.num_u->getValue(), count_v = fields.num_v->getValue();
  if (!ReadKnots(*fields.u_knots, count_u, "uKnotVector", surface.u, problem)) return false;
  if (!ReadKnots(*fields.v_knots, count_v, "vKnotVector", surface.v, problem)) return false;
  if (!ReadControlPoints(state, fields, count_u * count_v, surface.control, problem)) return false;
  nurbs::ComputeScale(surface);
  return true;
}

// One texture control point (s, t) of any dimension the element holds.
bool TexturePoint(const SoMultiTextureCoordinateElement *coords, int entry, double &s, double &t) {
  switch (coords->getDimension(0)) {
    case 2:
      s = coords->get2(0, entry)[0];
      t = coords->get2(0, entry)[1];
      break;
    case 3:
      s = coords->get3(0, entry)[0];
      t = coords->get3(0, entry)[1];
      break;
    default: {
      const SbVec4f &p = coords->get4(0, entry);
      s = p[0] / p[3];
      t = p[1] / p[3];
    }
  }
  return std::isfinite(s) && std::isfinite(t);
}

// The NURBS texture function: S and T control counts and knots from the
// node, control points from the state's explicit texture coordinates.
bool ReadTextureSurface(SoState *state, const NurbsFields &fields, nurbs::TextureSurface &texture,
                        std::string &problem) {
  if (!ReadControlCount(*fields.num_s, "numSControlPoints", problem)) return false;
  if (!ReadControlCount(*fields.num_t, "numTControlPoints", problem)) return false;
  const int64_t count_s = fields.num_s->getValue(), count_t = fields.num_t->getValue();
  if (!ReadKnots(*fields.s_knots, count_s, "sKnotVector", texture.s, problem)) return false;
  if (!ReadKnots(*fields.t_knots, count_t, "tKnotVector", texture.t, problem)) return false;
  const SoMultiTextureCoordinateElement *coords = SoMultiTextureCoordinateElement::getInstance(state);
  // textureCoordIndex starts as [-1]: the texture coordinates in their order.
  const SoMFInt32 *used = fields.texture_index;
  if (used && (used->getNum() == 0 || (*used)[0] < 0)) used = nullptr;
  const NetIndex index(used, "textureCoordIndex", "texture coordinates");
  const int64_t count = count_s * count_t;
  if (!index.Check(count, coords->getNum(0), problem)) return false;
  texture.control.resize(static_cast<size_t>(count) * 2);
  for (int k = 0; k < count; ++k) {
    if (!TexturePoint(coords, index.Entry(k), texture.control[2 * k], texture.control[2 * k + 1])) {
      problem = "texture coordinate " + std::to_string(index.Entry(k)) + " is not a finite point";
      return false;
    }
  }
  return true;
}

// Texture coordinates: a function in the state wins; explicit coordinates
// with a texture net declared on the node are a NURBS function; anything
// else gives the default ones.
void ReadTexture(SoState *state, const NurbsFields &fields, NurbsNodeInput &input, std::string &note) {
  if (!Enabled(state, SoMultiTextureCoordinateElement::getClassStackIndex())) return;
  const auto type = SoMultiTextureCoordinateElement::getType(state, 0);
  if (type == SoMultiTextureCoordinateElement::FUNCTION) {
    input.texture_function = SoMultiTextureCoordinateElement::getInstance(state);
    return;
  }
  if (fields.num_s->getValue() == 0 && fields.num_t->getValue() == 0) return;
  std::string problem;
  if (type != SoMultiTextureCoordinateElement::EXPLICIT) {
    problem = "the state holds no texture coordinates";
  } else if (ReadTextureSurface(state, fields, input.tessellation.texture, problem)) {
    input.tessellation.textured = true;
    return;
  }
  note = "texture coordinates ignored, default ones used: " + problem;
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
  ReadTexture(state, fields, input, note);
  input.tessellation.curved_segments = CurvedSegments(state);
  return true;
}
