// Texture images as glTF carries them: PNG, with the host texture's alpha
// settings applied to the pixels, since glTF has no switch for them.
#ifndef KAVREL_EXPORT_TEXTURE_PNG_H
#define KAVREL_EXPORT_TEXTURE_PNG_H

#include <cstdint>
#include <string>
#include <vector>

#include "kavrel/image/image_file.h"
#include "kavrel/toolkit/scene.h"

namespace kavrel {

struct PngImage {
  std::vector<uint8_t> bytes;                  // the PNG file
  bool has_alpha = false;                      // grey+alpha or RGBA
};

// Alpha source "off" drops the image's alpha; "type3" and "type4" make the
// colour of the upper-left or lower-left pixel transparent (chroma key) and
// everything else opaque; "type1" keeps the image's alpha. alpha_invert then
// inverts whatever alpha there is. False with a message for malformed pixels.
bool EncodeTexturePng(const ImagePixels &image, const Texture &texture, PngImage *png, std::string *error);

}  // namespace kavrel

#endif
