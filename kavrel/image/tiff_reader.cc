#include "kavrel/image/tiff_reader.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <memory>
#include <vector>

namespace kavrel {
namespace {

// libtiff's messages about one file: the last error is kept for the
// message instead of going to the standard error stream, warnings are
// dropped. Handed to libtiff with the file, so that nothing of it is
// shared between files or threads.
class TiffMessages {
 public:
  TiffMessages() : options_(TIFFOpenOptionsAlloc()) {
    TIFFOpenOptionsSetErrorHandlerExtR(options_, KeepError, this);
    TIFFOpenOptionsSetWarningHandlerExtR(options_, DropWarning, nullptr);
  }
  ~TiffMessages() { TIFFOpenOptionsFree(options_); }
  TiffMessages(const TiffMessages &) = delete;
  TiffMessages &operator=(const TiffMessages &) = delete;

  TIFFOpenOptions *options() const { return options_; }
  // ": <the last error>", or "" when there was none.
  std::string Suffix() const { return last_error_.empty() ? "" : ": " + last_error_; }

 private:
  // Answering 1 keeps the message from libtiff's process-wide handlers.
  static int KeepError(TIFF *, void *self, const char *module, const char *format, va_list arguments) {
    char text[512];
    std::vsnprintf(text, sizeof text, format, arguments);
    static_cast<TiffMessages *>(self)->last_error_ = std::string(module ? module : "libtiff") + ": " + text;
    return 1;
  }
  static int DropWarning(TIFF *, void *, const char *, const char *, va_list) { return 1; }

  TIFFOpenOptions *options_;
  std::string last_error_;
};

struct TiffCloser {
  void operator()(TIFF *tiff) const { TIFFClose(tiff); }
};
using TiffFile = std::unique_ptr<TIFF, TiffCloser>;

// messages must outlive the file: libtiff reports to it while reading.
TiffFile Open(const std::string &path, const TiffMessages &messages, std::string *error) {
  TiffFile tiff(TIFFOpenExt(path.c_str(), "r", messages.options()));
  if (!tiff) *error = "cannot read image \"" + path + "\"" + messages.Suffix();
  return tiff;
}

bool ReadHeader(TIFF *tiff, const std::string &path, ImagePixels *header, std::string *error) {
  uint32_t width = 0, height = 0;
  uint16_t samples = 1;
  TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
  // Beyond 2^28 pixels (a gigabyte of raster) a size is taken for garbage.
  constexpr uint64_t kMaxPixels = uint64_t(1) << 28;
  if (width == 0 || height == 0 || uint64_t(width) * height > kMaxPixels) {
    *error = "image \"" + path + "\" has an unusable size";
    return false;
  }
  header->width = static_cast<int>(width);
  header->height = static_cast<int>(height);
  header->components = std::clamp<int>(samples, 1, 4);
  header->bytes.clear();
  return true;
}

// One pixel of libtiff's RGBA raster as `components` bytes.
void StorePixel(uint32_t rgba, int components, uint8_t *out) {
  const uint8_t r = TIFFGetR(rgba), g = TIFFGetG(rgba), b = TIFFGetB(rgba), a = TIFFGetA(rgba);
  switch (components) {
    case 1: out[0] = r; break;
    case 2: out[0] = r; out[1] = a; break;
    case 3: out[0] = r; out[1] = g; out[2] = b; break;
    default: out[0] = r; out[1] = g; out[2] = b; out[3] = a; break;
  }
}

}  // namespace

bool ReadTiffHeader(const std::string &path, ImagePixels *header, std::string *error) {
  TiffMessages messages;
  TiffFile tiff = Open(path, messages, error);
  return tiff && ReadHeader(tiff.get(), path, header, error);
}

bool ReadTiffImage(const std::string &path, ImagePixels *image, std::string *error) {
  TiffMessages messages;
  TiffFile tiff = Open(path, messages, error);
  if (!tiff || !ReadHeader(tiff.get(), path, image, error)) return false;
  const size_t pixels = static_cast<size_t>(image->width) * image->height;
  std::vector<uint32_t> raster(pixels);
  if (!TIFFReadRGBAImageOriented(tiff.get(), image->width, image->height, raster.data(), ORIENTATION_TOPLEFT, 0)) {
    *error = "cannot read image \"" + path + "\"" + messages.Suffix();
    return false;
  }
  image->bytes.resize(pixels * image->components);
  for (size_t p = 0; p < pixels; ++p) StorePixel(raster[p], image->components, &image->bytes[p * image->components]);
  return true;
}

}  // namespace kavrel
