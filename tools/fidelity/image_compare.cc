#include "tools/fidelity/image_compare.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace kavrel::fidelity {
namespace {

// The sum of the three channels' absolute differences.
int ChannelDistance(Rgb a, Rgb b) { return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b); }

}  // namespace

bool Compare(const RgbImage &original, const RgbImage &ours, Rgb key, Comparison *result, std::string *error) {
  if (original.width != ours.width || original.height != ours.height) {
    std::ostringstream message;
    message << "sizes differ: " << original.width << "x" << original.height << " and " << ours.width << "x"
            << ours.height;
    *error = message.str();
    return false;
  }
  long both = 0, either = 0, distance = 0;
  for (int y = 0; y < original.height; ++y) {
    for (int x = 0; x < original.width; ++x) {
      Rgb a = original.At(x, y), b = ours.At(x, y);
      bool in_a = a != key, in_b = b != key;
      if (!in_a && !in_b) continue;
      ++either;
      both += in_a && in_b;
      distance += ChannelDistance(a, b);
    }
  }
  *result = either == 0 ? Comparison{} : Comparison{double(both) / either, double(distance) / (3.0 * either)};
  return true;
}

RgbImage DifferenceImage(const RgbImage &original, const RgbImage &ours, Rgb key) {
  RgbImage out(original.width, original.height, Rgb{});
  for (int y = 0; y < out.height && y < ours.height; ++y) {
    for (int x = 0; x < out.width && x < ours.width; ++x) {
      Rgb a = original.At(x, y), b = ours.At(x, y);
      bool in_a = a != key, in_b = b != key;
      if (in_a && in_b) {
        auto grey = static_cast<uint8_t>(std::min(255, 4 * ChannelDistance(a, b) / 3));
        out.Put(x, y, {grey, grey, grey});
      } else if (in_a) {
        out.Put(x, y, {255, 255, 0});
      } else if (in_b) {
        out.Put(x, y, {0, 255, 255});
      }
    }
  }
  return out;
}

bool ParseRgb(const std::string &text, Rgb *colour) {
  std::istringstream in(text);
  int c[3];
  char comma1 = 0, comma2 = 0;
  if (!(in >> c[0] >> comma1 >> c[1] >> comma2 >> c[2]) || comma1 != ',' || comma2 != ',' || !in.eof()) return false;
  for (int v : c) {
    if (v < 0 || v > 255) return false;
  }
  *colour = {uint8_t(c[0]), uint8_t(c[1]), uint8_t(c[2])};
  return true;
}

}  // namespace kavrel::fidelity
