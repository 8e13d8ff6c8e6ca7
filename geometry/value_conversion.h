// Coin3D values compared as the colour rules compare them.
#ifndef GEOMETRY_VALUE_CONVERSION_H
#define GEOMETRY_VALUE_CONVERSION_H

#include <Inventor/SbColor.h>

// True when all three components are exactly equal.
bool ColorEquals(const SbColor &color, float r, float g, float b);

#endif
