#include "kavrel/export/texture_png.h"

#include <cstring>

// stb_image_write is compiled into this file only, with internal linkage,
// so that no other library's copy can clash with it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
#pragma GCC diagnostic pop

namespace kavrel {
namespace {

bool HasAlpha(int components) { return components == 2 || components == 4; }

// The pixels with the alpha channel removed.
ImagePixels WithoutAlpha(const ImagePixels &in) {
  ImagePixels out = in;
  out.components = in.components - 1;
  out.bytes.resize(size_t(in.width) * in.height * out.components);
  size_t pixels = size_t(in.width) * in.height;
  for (size_t p = 0; p < pixels; ++p) {
    std::memcpy(&out.bytes[p * out.components], &in.bytes[p * in.components], out.components);
  }
  return out;
}

// The colour channels with alpha 0 where they equal the key pixel's, 255 elsewhere.
ImagePixels ChromaKeyed(const ImagePixels &in, bool lower_left) {
  int colours = HasAlpha(in.components) ? in.components - 1 : in.components;
  ImagePixels out = in;
  out.components = colours + 1;
  size_t pixels = size_t(in.width) * in.height;
  out.bytes.resize(pixels * out.components);
  const uint8_t *key = &in.bytes[(lower_left ? size_t(in.height - 1) * in.width : 0) * in.components];
  for (size_t p = 0; p < pixels; ++p) {
    const uint8_t *src = &in.bytes[p * in.components];
    uint8_t *dst = &out.bytes[p * out.components];
    std::memcpy(dst, src, colours);
    dst[colours] = std::memcmp(src, key, colours) == 0 ? 0 : 255;
  }
  return out;
}

void InvertAlpha(ImagePixels *image) {
  for (size_t i = image->components - 1; i < image->bytes.size(); i += image->components) {
    image->bytes[i] = static_cast<uint8_t>(255 - image->bytes[i]);
  }
}

ImagePixels ApplyAlphaSettings(const ImagePixels &in, const Texture &texture) {
  if (texture.alpha_source == "off") return HasAlpha(in.components) ? WithoutAlpha(in) : in;
  ImagePixels out = texture.alpha_source == "type3" || texture.alpha_source == "type4"
                        ? ChromaKeyed(in, texture.alpha_source == "type4")
                        : in;
  if (texture.alpha_invert && HasAlpha(out.components)) InvertAlpha(&out);
  return out;
}

void AppendBytes(void *context, void *data, int size) {
  auto *bytes = static_cast<std::vector<uint8_t> *>(context);
  const uint8_t *first = static_cast<const uint8_t *>(data);
  bytes->insert(bytes->end(), first, first + size);
}

}  // namespace

bool EncodeTexturePng(const ImagePixels &image, const Texture &texture, PngImage *png, std::string *error) {
  if (image.width <= 0 || image.height <= 0 || image.components < 1 || image.components > 4 ||
      image.bytes.size() != size_t(image.width) * image.height * image.components) {
    *error = "the image reader gave malformed pixels";
    return false;
  }
  ImagePixels pixels = ApplyAlphaSettings(image, texture);
  png->bytes.clear();
  png->has_alpha = HasAlpha(pixels.components);
  int stride = pixels.width * pixels.components;
  if (!stbi_write_png_to_func(AppendBytes, &png->bytes, pixels.width, pixels.height, pixels.components,
                              pixels.bytes.data(), stride)) {
    *error = "PNG encoding failed";
    return false;
  }
  return true;
}

}  // namespace kavrel
