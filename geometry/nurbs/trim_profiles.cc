#include "geometry/nurbs/trim_profiles.h"

#include <cmath>

#include <Inventor/elements/SoProfileCoordinateElement.h>
#include <Inventor/elements/SoProfileElement.h>
#include <Inventor/misc/SoState.h>
#include <Inventor/nodes/SoLinearProfile.h>
#include <Inventor/nodes/SoNurbsProfile.h>

#include "geometry/nurbs/trim_curve.h"

namespace {

// Names a profile in problem reports by its position among the profiles.
std::string ProfileLabel(int position, const SoProfile *profile) {
  std::string label = "profile " + std::to_string(position + 1) + " (" + profile->getTypeId().getName().getString();
  if (profile->getName().getLength() > 0) label += std::string(" \"") + profile->getName().getString() + "\"";
  return label + ")";
}

// The profile's control points as homogeneous (x, y, w), 3 values each.
bool ReadProfilePoints(const SoProfileCoordinateElement *coords, const SoProfile *profile, std::vector<double> &out,
                       std::string &problem) {
  const int available = coords ? coords->getNum() : 0;
  out.resize(static_cast<size_t>(profile->index.getNum()) * 3);
  for (int k = 0; k < profile->index.getNum(); ++k) {
    const int32_t entry = profile->index[k];
    if (entry < 0 || entry >= available) {
      problem = "index entry " + std::to_string(k) + " is " + std::to_string(entry) + ", outside the " +
                std::to_string(available) + " profile coordinates in the state";
      return false;
    }
    const SbVec3f p = coords->is2D() ? SbVec3f(coords->get2(entry)[0], coords->get2(entry)[1], 1.0f)
                                     : coords->get3(entry);
    if (!std::isfinite(p[0]) || !std::isfinite(p[1]) || !(p[2] > 0.0f) || !std::isfinite(p[2])) {
      problem = "profile coordinate " + std::to_string(entry) + " is not a finite point with a positive weight";
      return false;
    }
    for (int c = 0; c < 3; ++c) out[3 * static_cast<size_t>(k) + c] = p[c];
  }
  return true;
}

bool AppendProfile(const SoProfileCoordinateElement *coords, const SoProfile *profile, int curve_segments,
                   std::vector<nurbs::Vec2> &loop, std::string &problem) {
  std::vector<double> control;
  if (!ReadProfilePoints(coords, profile, control, problem)) return false;
  if (profile->isOfType(SoLinearProfile::getClassTypeId())) {
    for (size_t k = 0; k < control.size(); k += 3) {
      loop.push_back({control[k] / control[k + 2], control[k + 1] / control[k + 2]});
    }
    return true;
  }
  if (!profile->isOfType(SoNurbsProfile::getClassTypeId())) {
    problem = "profiles of this class are not supported";
    return false;
  }
  const SoMFFloat &knots = static_cast<const SoNurbsProfile *>(profile)->knotVector;
  const int count = profile->index.getNum();
  if (count < 2) {
    problem = "a NURBS profile needs at least 2 control points";
    return false;
  }
  nurbs::KnotVector curve;
  if (!nurbs::MakeKnotVector(knots.getValues(0), knots.getNum(), count, "knotVector", curve, problem)) return false;
  nurbs::SampleTrimCurve(curve, control, curve_segments, loop);
  return true;
}

}  // namespace

bool ReadTrimLoops(SoState *state, int curve_segments, std::vector<nurbs::TrimLoop> &loops, std::string &problem) {
  loops.clear();
  if (!state || !state->isElementEnabled(SoProfileElement::getClassStackIndex())) return true;
  const SoNodeList &profiles = SoProfileElement::get(state);
  const SoProfileCoordinateElement *coords =
      state->isElementEnabled(SoProfileCoordinateElement::getClassStackIndex())
          ? SoProfileCoordinateElement::getInstance(state)
          : nullptr;
  for (int k = 0; k < profiles.getLength(); ++k) {
    const auto *profile = static_cast<const SoProfile *>(profiles[k]);
    if (loops.empty() || profile->linkage.getValue() != SoProfile::ADD_TO_CURRENT) loops.emplace_back();
    std::string why;
    if (!AppendProfile(coords, profile, curve_segments, loops.back().points, why)) {
      problem = ProfileLabel(k, profile) + ": " + why;
      loops.clear();
      return false;
    }
  }
  return true;
}
