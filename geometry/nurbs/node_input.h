// Reads an SoNurbsSurface or SoIndexedNurbsSurface, with the coordinates,
// texture coordinates and complexity of the traversal state, into the
// tessellator's input, checking everything the tessellator relies on.
#ifndef GEOMETRY_NURBS_NODE_INPUT_H
#define GEOMETRY_NURBS_NODE_INPUT_H

#include <string>

#include "geometry/nurbs/tessellator.h"

class SoMFFloat;
class SoMFInt32;
class SoMultiTextureCoordinateElement;
class SoNode;
class SoSFInt32;
class SoState;

// The fields both surface classes have; the index fields only the indexed one.
struct NurbsFields {
  const SoSFInt32 *num_u = nullptr;            // numUControlPoints
  const SoSFInt32 *num_v = nullptr;            // numVControlPoints
  const SoMFFloat *u_knots = nullptr;          // uKnotVector
  const SoMFFloat *v_knots = nullptr;          // vKnotVector
  const SoSFInt32 *num_s = nullptr;            // numSControlPoints
  const SoSFInt32 *num_t = nullptr;            // numTControlPoints
  const SoMFFloat *s_knots = nullptr;          // sKnotVector
  const SoMFFloat *t_knots = nullptr;          // tKnotVector
  const SoMFInt32 *coord_index = nullptr;      // coordIndex; null for SoNurbsSurface
  const SoMFInt32 *texture_index = nullptr;    // textureCoordIndex; null for SoNurbsSurface
};

// False when node is neither surface class (nor derived from one).
bool GetNurbsFields(const SoNode *node, NurbsFields &fields);

struct NurbsNodeInput {
  nurbs::TessellationInput tessellation;  // without trim loops
  // The state's texture-coordinate function (SoTextureCoordinatePlane and
  // the like), applied to every output vertex; null when there is none.
  const SoMultiTextureCoordinateElement *texture_function = nullptr;
};

// Fills input from the fields and the state. False with the problem when the
// surface cannot be tessellated; note receives what was ignored (unusable
// texture coordinates), empty otherwise.
bool ReadNurbsNodeInput(SoState *state, const NurbsFields &fields, NurbsNodeInput &input, std::string &problem,
                        std::string &note);

#endif
