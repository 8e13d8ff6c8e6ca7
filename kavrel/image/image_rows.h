// An image on its way to files row by row: the channel planes a producer
// fills a strip of rows at a time, and the TIFF files each row goes to.
#ifndef KAVREL_IMAGE_IMAGE_ROWS_H
#define KAVREL_IMAGE_IMAGE_ROWS_H

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "kavrel/image/tiff_writer.h"

namespace kavrel {

class ImageRows {
 public:
  // Drops the image: planes released, unfinished files deleted.
  void Clear();

  // A new image width pixels wide: channels planes of strip_rows rows each,
  // zero-filled. Call Clear first.
  void Begin(int width, int channels, int strip_rows);
  uint8_t *plane(int channel) { return planes_[channel].data(); }

  // Opens the file of one receiver: samples (1, 3 or 4) from the first
  // planes, height rows in all; false with the reason in *error.
  bool OpenFile(const std::string &receiver, const std::string &path, int height, int samples,
                std::string *error);
  // Forgets a receiver's file, deleting it when unfinished.
  void DropFile(const std::string &receiver) { files_.erase(receiver); }

  // Row `row` of the strip in the planes goes to every file; false when a
  // file refused it.
  bool WriteRow(int row);

  // Moves every file that has all its rows into place and deletes the
  // others; each failure's message goes to failed, each finished file's
  // path to written. Then clears the image.
  bool Finish(const std::function<void(const std::string &)> &failed,
              const std::function<void(const std::string &)> &written);

 private:
  int width_ = 0;
  std::array<std::vector<uint8_t>, 4> planes_;
  std::unordered_map<std::string, std::unique_ptr<TiffWriter>> files_;  // by receiver
};

}  // namespace kavrel

#endif
