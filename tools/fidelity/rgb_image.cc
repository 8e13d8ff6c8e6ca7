#include "tools/fidelity/rgb_image.h"

namespace kavrel::fidelity {

void Paste(const RgbImage &tile, int x, int y, RgbImage *canvas) {
  for (int row = 0; row < tile.height; ++row) {
    for (int col = 0; col < tile.width; ++col) {
      if (canvas->Contains(x + col, y + row)) canvas->Put(x + col, y + row, tile.At(col, row));
    }
  }
}

}  // namespace kavrel::fidelity
