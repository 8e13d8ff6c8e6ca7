#include "kavrel/image/image_rows.h"

namespace kavrel {

void ImageRows::Clear() {
  files_.clear();
  width_ = 0;
  for (auto &plane : planes_) plane = {};
}

void ImageRows::Begin(int width, int channels, int strip_rows) {
  width_ = width;
  for (int c = 0; c < channels; ++c) planes_[c].assign(static_cast<size_t>(width) * strip_rows, 0);
}

bool ImageRows::OpenFile(const std::string &receiver, const std::string &path, int height, int samples,
                         std::string *error) {
  auto writer = std::make_unique<TiffWriter>();
  if (!writer->open(path, width_, height, samples, error)) return false;
  files_[receiver] = std::move(writer);
  return true;
}

bool ImageRows::WriteRow(int row) {
  const uint8_t *planes[4];
  for (int c = 0; c < 4; ++c) planes[c] = planes_[c].empty() ? nullptr : &planes_[c][row * width_];
  bool written = true;
  for (auto &entry : files_) written = entry.second->write_row(planes) && written;
  return written;
}

bool ImageRows::Finish(const std::function<void(const std::string &)> &failed,
                       const std::function<void(const std::string &)> &written) {
  bool finished = true;
  for (auto &entry : files_) {
    std::string error;
    if (entry.second->finish(&error)) {
      written(entry.second->target());
    } else {
      failed(error);
      finished = false;
    }
  }
  Clear();
  return finished;
}

}  // namespace kavrel
