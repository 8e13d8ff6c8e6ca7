#include "tools/fidelity/text_label.h"

#include <vector>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#include <stb_easy_font.h>
#pragma GCC diagnostic pop

namespace kavrel::fidelity {
namespace {

// stb_easy_font's vertices: x, y, z as floats, then four colour bytes.
struct FontVertex {
  float x, y, z;
  unsigned char colour[4];
};

void FillRectangle(int x0, int y0, int x1, int y1, Rgb colour, RgbImage *image) {
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      if (image->Contains(x, y)) image->Put(x, y, colour);
    }
  }
}

}  // namespace

int TextLineHeight(int scale) { return 12 * scale; }

void DrawText(const std::string &text, int x, int y, int scale, Rgb colour, RgbImage *image) {
  std::vector<FontVertex> quads(text.size() * 70 * 4);  // the font's worst case is under 70 quads a character
  std::vector<char> characters(text.begin(), text.end());
  characters.push_back('\0');
  int count = stb_easy_font_print(0, 0, characters.data(), nullptr, quads.data(),
                                  static_cast<int>(quads.size() * sizeof(FontVertex)));
  // Each quad is an axis-aligned rectangle; its first and third corners span it.
  for (int q = 0; q < count; ++q) {
    const FontVertex &a = quads[q * 4], &c = quads[q * 4 + 2];
    FillRectangle(x + int(a.x * scale), y + int(a.y * scale), x + int(c.x * scale), y + int(c.y * scale), colour,
                  image);
  }
}

}  // namespace kavrel::fidelity
