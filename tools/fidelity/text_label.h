// Small labels drawn into pictures with stb_easy_font's bitmap font.
#ifndef KAVREL_TOOLS_FIDELITY_TEXT_LABEL_H
#define KAVREL_TOOLS_FIDELITY_TEXT_LABEL_H

#include <string>

#include "tools/fidelity/rgb_image.h"

namespace kavrel::fidelity {

// The height of one line of text at `scale` (font pixels per picture pixel).
int TextLineHeight(int scale);

// Draws ASCII `text` with its upper-left corner at (x, y), clipped.
void DrawText(const std::string &text, int x, int y, int scale, Rgb colour, RgbImage *image);

}  // namespace kavrel::fidelity

#endif
