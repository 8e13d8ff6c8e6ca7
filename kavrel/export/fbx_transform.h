// Matrices as FBX model transforms. An FBX model places its contents by
// "Lcl Translation", "Lcl Rotation" (Euler angles in degrees, about X
// first, then Y, then Z: rotation order XYZ) and "Lcl Scaling", in the
// order scale, rotate, translate, and its children inherit the whole of it
// (InheritType RSrs: the product of the matrices, as every reader computes
// it). A matrix whose rows (the images of the axes) are orthogonal is such
// a product; a mirroring one gets a negative scale on one axis. A matrix
// with shear (a non-uniform scale under a rotation) is not: it splits into
// an outer translation-rotation-scale, which the model carries, and an
// inner rotation applied before it (singular value decomposition, as for
// glTF's nodes), which the model's geometry takes in a rotated copy of its
// own and its children take in front of their matrices. A rotation in
// front of a model's matrix still splits the same way, so only the sheared
// placement's geometry is copied.
//
// Lights and cameras point the way FBX's do: a light shines along its
// model's -Y, a camera looks along +X with +Y up.
#ifndef KAVREL_EXPORT_FBX_TRANSFORM_H
#define KAVREL_EXPORT_FBX_TRANSFORM_H

#include "kavrel/export/export_notes.h"
#include "kavrel/export/fbx_properties.h"
#include "kavrel/export/rotation.h"
#include "kavrel/toolkit/scene.h"

namespace kavrel {

struct FbxTransform {
  Double3 translation{0, 0, 0};
  Double3 rotation{0, 0, 0};                   // degrees about X, then Y, then Z
  Double3 scale{1, 1, 1};                      // negative on one axis where the matrix mirrors
  bool sheared = false;                        // inner holds the rotation the model could not carry
  Matrix inner = IdentityMatrix();             // row vectors: applied before the model's transform
};

// Non-finite elements become the identity's, a perspective part is dropped
// (both counted in notes).
FbxTransform FbxTransformFor(const Matrix &matrix, ExportNotes &notes);

// The Euler angles of a proper rotation, given as the images of the axes.
Double3 EulerDegrees(const Frame &frame);

// A model at position turned as the frame says.
FbxTransform PlacedTransform(const Vec3 &position, const Frame &frame, ExportNotes &notes);

// The frame of a light that shines along direction (its -Y), and of a
// camera that looks from eye at target with up upwards (its +X and +Y).
Frame LightFrame(const Vec3 &direction);
Frame CameraFrame(const Vec3 &eye, const Vec3 &target, const Vec3 &up);

}  // namespace kavrel

#endif
