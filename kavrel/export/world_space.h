// Geometry taken into world space by a placement's world matrix, for the
// writers that store every placement's copy of a mesh (OBJ, and the ones
// to come that have no instancing).
#ifndef KAVREL_EXPORT_WORLD_SPACE_H
#define KAVREL_EXPORT_WORLD_SPACE_H

#include "kavrel/toolkit/scene.h"

namespace kavrel {

// What a matrix does to normals: the inverse transpose of its linear part,
// up to a positive factor (normals are scaled to unit length after it).
// Made of cofactors, so that a singular matrix has one too; a mirroring
// matrix's is negated, so that normals keep facing the fronts' way.
struct NormalTransform {
  Vec3 x, y, z;                                // the images of the unit axes
};

NormalTransform NormalTransformOf(const Matrix &world);

// n taken through t and scaled to unit length; (0, 0, 0) stays.
Vec3 TransformNormal(const NormalTransform &t, const Vec3 &n);

}  // namespace kavrel

#endif
