// Writes one 8-bit TIFF image row by row, into a temporary file beside the
// target that becomes the target only when every row arrived, so a reader
// never finds a half-written image under the target's name.
#ifndef KAVREL_IMAGE_TIFF_WRITER_H
#define KAVREL_IMAGE_TIFF_WRITER_H

#include <cstdint>
#include <string>
#include <vector>

typedef struct tiff TIFF;

namespace kavrel {

class TiffWriter {
 public:
  TiffWriter() = default;
  ~TiffWriter() { discard(); }
  TiffWriter(const TiffWriter &) = delete;
  TiffWriter &operator=(const TiffWriter &) = delete;

  // samples: 1 grey, 3 RGB, 4 RGB with unassociated alpha.
  bool open(const std::string &target, int width, int height, int samples, std::string *error);

  // One row from planes[0 .. samples-1], each `width` bytes.
  bool write_row(const uint8_t *const *planes);

  // Renames the file into place when every row was written; otherwise
  // deletes it and answers false.
  bool finish(std::string *error);

  // Deletes the unfinished file.
  void discard();

 private:
  TIFF *tiff_ = nullptr;
  std::string target_;
  std::string temporary_;
  int width_ = 0, height_ = 0, samples_ = 0, rows_written_ = 0;
  std::vector<uint8_t> row_;  // one interleaved row
};

}  // namespace kavrel

#endif
