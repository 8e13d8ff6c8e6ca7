// Two renderings of one model on the same key background, compared: how
// well their silhouettes overlap and how far their colours lie apart.
#ifndef KAVREL_TOOLS_FIDELITY_IMAGE_COMPARE_H
#define KAVREL_TOOLS_FIDELITY_IMAGE_COMPARE_H

#include <string>

#include "tools/fidelity/rgb_image.h"

namespace kavrel::fidelity {

struct Comparison {
  double overlap = 1;     // pixels in both silhouettes / pixels in either (1 when both are empty)
  double mean_diff = 0;   // mean absolute RGB difference over either silhouette, in 1/255 steps
};

// A pixel belongs to a silhouette when it is not exactly the key colour.
// False with a message when the sizes differ.
bool Compare(const RgbImage &original, const RgbImage &ours, Rgb key, Comparison *result, std::string *error);

// What to look at: black where both show the background, yellow where only
// the original has a silhouette (lost by us), cyan where only ours has one,
// and inside both the colour difference as grey, amplified four times.
RgbImage DifferenceImage(const RgbImage &original, const RgbImage &ours, Rgb key);

// "R,G,B" with components 0 to 255; false when it is not that.
bool ParseRgb(const std::string &text, Rgb *colour);

}  // namespace kavrel::fidelity

#endif
