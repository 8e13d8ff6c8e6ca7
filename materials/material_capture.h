// Capturing the material that Coin3D's traversal state holds at a shape or
// at one triangle, in the two halves the per-face path needs: the colours
// (compared per triangle) and the texture (read only when a surface is made).
#ifndef MATERIALS_MATERIAL_CAPTURE_H
#define MATERIALS_MATERIAL_CAPTURE_H

#include <cstdint>

#include "state/inventor_state.h"

class SoState;

// Entries of each material element that one snapshot is taken from.
struct MaterialIndices {
  int ambient;
  int diffuse;
  int specular;
  int emissive;
  int shininess;
  int transparency;
};

// Fills ambient, diffuse, specular, emissive, shininess and transparency.
void CaptureColors(MaterialSnapshot &snapshot, SoState *traversal, const MaterialIndices &indices);

// Fills texture_file, image, wrap_s and wrap_t; name empty and next null.
void CaptureTexture(MaterialSnapshot &snapshot, SoState *traversal);

// Replaces the colour fields by Open Inventor's default material.
void SetDefaultMaterialColors(MaterialSnapshot &snapshot);

// Copies the colour fields only (the per-face change test looks at nothing else).
void CopyMaterialColors(MaterialSnapshot &to, const MaterialSnapshot &from);

// True when the snapshot carries a texture file name or embedded pixels.
bool HasTexture(const MaterialSnapshot &snapshot);

// Both halves at once: colours from the given entries, then the texture.
void CaptureMaterial(MaterialSnapshot &snapshot, SoState *traversal, int ambient, int diffuse, int specular,
                     int emissive, int shininess, int transparency);

// True when the colour fields are equal (the per-face change test).
bool SameFaceMaterial(const MaterialSnapshot &a, const MaterialSnapshot &b);

// A packed colour 0xRRGGBBAA as red, green, blue (byte / 255) and transparency (1 - alpha).
void UnpackColor(uint32_t packed, float &r, float &g, float &b, float &transparency);

#endif
