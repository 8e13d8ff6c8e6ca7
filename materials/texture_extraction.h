// Writing pixel data embedded in a Texture2 node to a TIFF file through
// the host's output drivers.
#ifndef MATERIALS_TEXTURE_EXTRACTION_H
#define MATERIALS_TEXTURE_EXTRACTION_H

#include <cstddef>

#include "host/host_records.h"

class SbString;
class SoState;

// Writes the embedded pixels of the state's texture image to a TIFF file
// named after texture; path receives the file; false when it was not written.
bool ExtractEmbeddedTexture(SbString &path, const SbString &texture, SoState *traversal);

// Copies one row of width interleaved pixels (1 to 4 components) from
// pixels[offset] into the image's channel planes and advances offset past
// it. Grey+alpha rows keep the grey byte only. Missing planes receive nothing.
void ConvertScanline(Kv_ImageRecord &image, const unsigned char *pixels, size_t &offset, int width,
                     int components);

// True when pattern occurs anywhere in text (byte comparison).
bool ContainsText(const char *text, const char *pattern);

#endif
