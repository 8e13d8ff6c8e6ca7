// Coin3D values in the forms the host and the colour rules compare.
#include <cstring>

#include "geometry/geometry.h"
#include "geometry/value_conversion.h"

// SbMatrix is stored row by row with the translation in row 3, which is the
// host's layout as it is.
void MatrixToFloats(const SbMatrix &matrix, float out[16]) {
  std::memcpy(out, &matrix.getValue()[0][0], 16 * sizeof(float));
}

bool ColorEquals(const SbColor &color, float r, float g, float b) {
  return color[0] == r && color[1] == g && color[2] == b;
}
