// Where a NURBS surface's texture coordinates come from: a texture-coordinate
// function in the state, a NURBS texture function (SoTextureCoordinate2
// points with the node's S and T control counts and knots), or Inventor's
// default, the normalised parameters.
#ifndef GEOMETRY_NURBS_TEXTURE_INPUT_H
#define GEOMETRY_NURBS_TEXTURE_INPUT_H

#include <string>

struct NurbsFields;
struct NurbsNodeInput;
class SoState;

// Sets input.texture_function, or input.tessellation.textured and .texture,
// or leaves the defaults. A texture function the node declares but the state
// cannot serve is ignored, with note saying why (note is left alone otherwise).
void ReadNurbsTexture(SoState *state, const NurbsFields &fields, NurbsNodeInput &input, std::string &note);

#endif
