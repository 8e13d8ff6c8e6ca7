// Shading-coefficient modification and the host calls that carry a
// surface's colours and coefficients.
#ifndef MATERIALS_SURFACE_DEFINITION_H
#define MATERIALS_SURFACE_DEFINITION_H

#include <Inventor/SbColor.h>
#include <Inventor/SbString.h>

#include "state/inventor_state.h"

// Defines the host surface of a snapshot under a unique name, lists it and answers the name.
SbString DefineSurface(const MaterialSnapshot &snapshot);

// Applies the user's operation for a colour attribute (kAttrDiffuse,
// kAttrSpecular or kAttrLuminous) to the coefficient and sends colour and
// coefficient to the surface. "Normalize" replaces color by its normalised form.
void ApplyColorModifier(const SbString &surface, SbColor &color, float coefficient, int code);

// Applies the user's operation for kAttrOpacity or kAttrPhong and sends the result.
void ApplyScalarModifier(const SbString &surface, float value, int code);

// Face opacity of a material: its transparency when alpha_invert is set,
// else one minus it.
float OpacityFromTransparency(float transparency);

// Coin3D shininess (0..1) as the host's integer Phong exponent (x 128, truncated).
int32_t PhongFromShininess(float shininess);
// The same exponent untruncated, for the exact_shininess token.
float ExactPhong(float shininess);

#endif
