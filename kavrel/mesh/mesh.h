// The host's polygon mesh and the vector and matrix types of its data
// model, with the shared vector and matrix operations for them.
#ifndef KAVREL_MESH_MESH_H
#define KAVREL_MESH_MESH_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/matrix4.h"
#include "common/vec3.h"

namespace kavrel {

using Vec3 = common::Vec3<float>;
using Matrix = common::Matrix4<float>;         // row by row, translation in 12..14, p' = p x M

using common::Cross;
using common::Dot;
using common::Length;
using common::MultiplyMatrix;                  // a x b: with row vectors p x (a x b) applies a first, then b
using common::Normalize;
using common::Normalized;
using common::Sub;
using common::TransformPoint;

inline Matrix IdentityMatrix() { return common::IdentityMatrix4<float>(); }

// A polygon mesh as a modeller stores it: four attribute streams, each with
// its own per-corner index list, so that welding one stream leaves the
// others alone. An index list is empty exactly when its stream is empty.
// Polygons of two corners are line segments and of one corner points: the
// operations keep them, and those that work on surfaces (smoothing,
// merging, the closed-surface test) leave them out.
struct Mesh {
  std::vector<Vec3> positions;
  std::vector<Vec3> normals;
  std::vector<Vec3> texcoords;                 // u, v, w
  std::vector<Vec3> colors;                    // r, g, b
  std::vector<int32_t> face_sizes;             // corners per polygon: 3 or more a face, 2 a line segment, 1 a point
  std::vector<int32_t> position_index;         // per corner, into positions
  std::vector<int32_t> normal_index;           // per corner, into normals
  std::vector<int32_t> texcoord_index;         // per corner, into texcoords
  std::vector<int32_t> color_index;            // per corner, into colors
  std::vector<int32_t> face_surface;           // per polygon, into surface_names; -1: the object's instance surface
  std::vector<std::string> surface_names;      // distinct per-face surface names
  bool clockwise = false;                      // corners run clockwise seen from the front

  size_t corner_count() const { return position_index.size(); }
};

}  // namespace kavrel

#endif
