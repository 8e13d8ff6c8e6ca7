#include "kavrel/image/tiff_writer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <tiffio.h>
#include <unistd.h>

#include "common/replacing_file.h"
#include "kavrel/image/run_files.h"

namespace kavrel {
namespace {

void SetTags(TIFF *tiff, int width, int height, int samples) {
  TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(width));
  TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(height));
  TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, static_cast<uint16_t>(samples));
  TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, static_cast<uint16_t>(8));
  TIFFSetField(tiff, TIFFTAG_ORIENTATION, static_cast<uint16_t>(ORIENTATION_TOPLEFT));
  TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, static_cast<uint16_t>(PLANARCONFIG_CONTIG));
  TIFFSetField(tiff, TIFFTAG_COMPRESSION, static_cast<uint16_t>(COMPRESSION_LZW));
  TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC,
               static_cast<uint16_t>(samples >= 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK));
  if (samples == 2 || samples == 4) {  // grey or colour, then alpha
    uint16_t extra = EXTRASAMPLE_UNASSALPHA;
    TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, static_cast<uint16_t>(1), &extra);
  }
  TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tiff, 0));
}

}  // namespace

bool TiffWriter::open(const std::string &target, int width, int height, int samples, std::string *error) {
  discard();
  std::string pattern = target + ".XXXXXX";
  int fd = common::CreateFileBeside(&pattern);
  if (fd < 0) {
    *error = "cannot create a file beside \"" + target + "\": " + std::strerror(errno);
    return false;
  }
  NoteTemporaryFile(pattern);
  tiff_ = TIFFFdOpen(fd, pattern.c_str(), "w");
  if (!tiff_) {
    close(fd);
    unlink(pattern.c_str());
    ForgetTemporaryFile(pattern);
    *error = "cannot start a TIFF file \"" + pattern + "\"";
    return false;
  }
  target_ = target;
  temporary_ = pattern;
  width_ = width;
  height_ = height;
  samples_ = samples;
  rows_written_ = 0;
  rows_.clear();
  SetTags(tiff_, width, height, samples);
  return true;
}

bool TiffWriter::write_row(const uint8_t *const *planes) {
  if (!tiff_ || rows_written_ >= height_) return false;
  const size_t row_bytes = static_cast<size_t>(width_) * samples_;
  if (rows_.empty()) rows_.reserve(row_bytes * height_);
  const size_t start = rows_.size();
  rows_.resize(start + row_bytes);
  for (int x = 0; x < width_; ++x) {
    for (int s = 0; s < samples_; ++s) rows_[start + static_cast<size_t>(x) * samples_ + s] = planes[s][x];
  }
  ++rows_written_;
  return true;
}

bool TiffWriter::write_top_down() {
  const size_t row_bytes = static_cast<size_t>(width_) * samples_;
  for (int row = 0; row < height_; ++row) {
    uint8_t *source = rows_.data() + row_bytes * static_cast<size_t>(height_ - 1 - row);
    if (TIFFWriteScanline(tiff_, source, static_cast<uint32_t>(row), 0) < 0) return false;
  }
  return true;
}

bool TiffWriter::finish(std::string *error) {
  if (!tiff_) return false;
  if (rows_written_ < height_) {
    *error = "the image ended after " + std::to_string(rows_written_) + " of " + std::to_string(height_) + " rows";
    discard();
    return false;
  }
  if (!write_top_down()) {
    *error = "cannot write the image's rows to \"" + temporary_ + "\"";
    discard();
    return false;
  }
  rows_ = std::vector<uint8_t>();
  TIFFClose(tiff_);  // also closes the descriptor
  tiff_ = nullptr;
  if (!MoveTemporaryIntoPlace(temporary_, target_, true)) {
    *error = "cannot move the image into \"" + target_ + "\": " + std::strerror(errno);
    return false;
  }
  return true;
}

void TiffWriter::discard() {
  rows_ = std::vector<uint8_t>();
  if (!tiff_) return;
  TIFFClose(tiff_);
  tiff_ = nullptr;
  unlink(temporary_.c_str());
  ForgetTemporaryFile(temporary_);
}

}  // namespace kavrel
