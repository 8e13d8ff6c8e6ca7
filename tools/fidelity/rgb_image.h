// The pictures the fidelity tools pass around: 8-bit RGB, top row first.
#ifndef KAVREL_TOOLS_FIDELITY_RGB_IMAGE_H
#define KAVREL_TOOLS_FIDELITY_RGB_IMAGE_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kavrel::fidelity {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb &o) const { return r == o.r && g == o.g && b == o.b; }
  bool operator!=(const Rgb &o) const { return !(*this == o); }
};

struct RgbImage {
  int width = 0;                     // pixels per row
  int height = 0;                    // rows
  std::vector<uint8_t> pixels;       // width * height * 3 bytes, rows top to bottom

  RgbImage() = default;
  RgbImage(int w, int h, Rgb fill) : width(w), height(h), pixels(size_t(w) * h * 3) {
    for (size_t i = 0; i < pixels.size(); i += 3) Set(i, fill);
  }
  Rgb At(int x, int y) const { return Get((size_t(y) * width + x) * 3); }
  void Put(int x, int y, Rgb c) { Set((size_t(y) * width + x) * 3, c); }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }

 private:
  Rgb Get(size_t i) const { return {pixels[i], pixels[i + 1], pixels[i + 2]}; }
  void Set(size_t i, Rgb c) {
    pixels[i] = c.r;
    pixels[i + 1] = c.g;
    pixels[i + 2] = c.b;
  }
};

// Copies `tile` into `canvas` with its upper-left corner at (x, y), clipped.
void Paste(const RgbImage &tile, int x, int y, RgbImage *canvas);

}  // namespace kavrel::fidelity

#endif
