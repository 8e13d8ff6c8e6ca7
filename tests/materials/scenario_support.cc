#include "tests/materials/scenario_support.h"

#include <tiffio.h>

#include <algorithm>
#include <fstream>

namespace material_test {

std::vector<const kavrel::JournalEntry *> CallsFor(const std::string &call, const std::string &name) {
  std::vector<const kavrel::JournalEntry *> found;
  for (const kavrel::JournalEntry *entry : kavrel::CurrentHost().journal().calls(call)) {
    auto first_string = std::find_if(entry->items.begin(), entry->items.end(), [](const kavrel::JournalItem &item) {
      return item.kind == kavrel::JournalItem::kString;
    });
    if (name.empty() || (first_string != entry->items.end() && first_string->text == name)) found.push_back(entry);
  }
  return found;
}

std::vector<std::string> Lines(const std::string &call, const std::string &name) {
  std::vector<std::string> lines;
  for (const kavrel::JournalEntry *entry : CallsFor(call, name)) lines.push_back(entry->to_string());
  return lines;
}

bool WriteSgiImage(const std::string &path, int width, int height, int components,
                   const std::vector<uint8_t> &bytes) {
  // A 512-byte big-endian header (magic, verbatim 8-bit, 3 dimensions, sizes,
  // largest value 255), then the bytes channel by channel.
  std::string header(512, '\0');
  const int fields[] = {474, 0x0001, 3, width, height, components};
  for (int i = 0; i < 6; ++i) {
    header[2 * i] = static_cast<char>(fields[i] >> 8);
    header[2 * i + 1] = static_cast<char>(fields[i]);
  }
  header[19] = static_cast<char>(255);
  std::ofstream out(path, std::ios::binary);
  out << header;
  for (int c = 0; c < components; ++c) {
    for (size_t i = c; i < bytes.size(); i += components) out.put(static_cast<char>(bytes[i]));
  }
  return static_cast<bool>(out);
}

bool ReadTiff(const std::string &path, int *width, int *height, int *components, std::vector<uint8_t> *bytes) {
  TIFF *tiff = TIFFOpen(path.c_str(), "r");
  if (!tiff) return false;
  uint32_t w = 0, h = 0;
  uint16_t samples = 0;
  TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &w);
  TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &h);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
  *width = static_cast<int>(w);
  *height = static_cast<int>(h);
  *components = samples;
  bytes->assign(static_cast<size_t>(w) * h * samples, 0);
  bool ok = TIFFScanlineSize(tiff) == static_cast<tmsize_t>(w * samples);
  for (uint32_t row = 0; row < h && ok; ++row) ok = TIFFReadScanline(tiff, &(*bytes)[row * w * samples], row, 0) >= 0;
  TIFFClose(tiff);
  return ok;
}

}  // namespace material_test
