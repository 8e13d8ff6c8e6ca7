#include "geometry/nurbs/texture_input.h"

#include <cmath>

#include <Inventor/elements/SoMultiTextureCoordinateElement.h>
#include <Inventor/fields/SoMFInt32.h>
#include <Inventor/fields/SoSFInt32.h>
#include <Inventor/misc/SoState.h>

#include "geometry/nurbs/field_checks.h"
#include "geometry/nurbs/node_input.h"

namespace {

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

bool ReadTextureSurface(SoState *state, const NurbsFields &fields, nurbs::TextureSurface &texture,
                        std::string &problem) {
  if (!CheckControlCount(*fields.num_s, "numSControlPoints", problem)) return false;
  if (!CheckControlCount(*fields.num_t, "numTControlPoints", problem)) return false;
  const int64_t count_s = fields.num_s->getValue(), count_t = fields.num_t->getValue();
  if (!ReadKnotField(*fields.s_knots, count_s, "sKnotVector", texture.s, problem)) return false;
  if (!ReadKnotField(*fields.t_knots, count_t, "tKnotVector", texture.t, problem)) return false;
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

}  // namespace

void ReadNurbsTexture(SoState *state, const NurbsFields &fields, NurbsNodeInput &input, std::string &note) {
  if (!state || !state->isElementEnabled(SoMultiTextureCoordinateElement::getClassStackIndex())) return;
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
