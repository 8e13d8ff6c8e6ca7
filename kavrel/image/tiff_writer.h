// Writes one 8-bit TIFF image, given row by row, into a temporary file
// beside the target that becomes the target only when every row arrived, so
// a reader never finds a half-written image under the target's name. Rows
// arrive bottom row first, as Inventor and OpenGL store images (the first
// row is at texture coordinate t = 0); a TIFF file starts with its top row,
// so the rows are kept and written in reverse when the last one arrived.
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

  // The next row up from planes[0 .. samples-1], each `width` bytes.
  bool write_row(const uint8_t *const *planes);

  // Renames the file into place when every row was written; otherwise
  // deletes it and answers false.
  bool finish(std::string *error);

  // Deletes the unfinished file.
  void discard();

  const std::string &target() const { return target_; }

 private:
  bool write_top_down();

  TIFF *tiff_ = nullptr;
  std::string target_;
  std::string temporary_;
  int width_ = 0, height_ = 0, samples_ = 0, rows_written_ = 0;
  std::vector<uint8_t> rows_;  // interleaved, in the order they arrived
};

}  // namespace kavrel

#endif
