// Surfaces that cannot be tessellated: false, no corners, and a reason that
// names the problem.
#include <cmath>

#include <gtest/gtest.h>

#include <Inventor/nodes/SoCoordinate3.h>
#include <Inventor/nodes/SoNurbsSurface.h>
#include <Inventor/nodes/SoSeparator.h>

#include "tests/nurbs/nurbs_scene.h"

namespace {

const char *kNine = "Coordinate3 { point [0 0 0, 1 0 0, 2 0 0, 0 1 0, 1 1 0, 2 1 1, 0 2 0, 1 2 0, 2 2 0] }\n";

std::string Surface(const std::string &fields) {
  return std::string(kNine) + "DEF S NurbsSurface { " + fields + " }\n";
}

const char *kGood = "numUControlPoints 3 numVControlPoints 3 uKnotVector [0 0 0 1 1 1] vKnotVector [0 0 0 1 1 1]";

struct BadCase {
  std::string scene;
  std::string reason;
};

TEST(NurbsBadInput, RefusedWithAReason) {
  const BadCase cases[] = {
      {Surface("numUControlPoints 0 numVControlPoints 3 vKnotVector [0 0 0 1 1 1]"),
       "numUControlPoints is 0; a surface needs at least 2"},
      {Surface("numUControlPoints 3 numVControlPoints 3 uKnotVector [0 0 1 1] vKnotVector [0 0 0 1 1 1]"),
       "uKnotVector has 4 values; 3 control points need between 5 and 6"},
      {Surface("numUControlPoints 3 numVControlPoints 3 uKnotVector [0 0 0 0 1 1 1] vKnotVector [0 0 0 1 1 1]"),
       "uKnotVector has 7 values; 3 control points need between 5 and 6"},
      {Surface("numUControlPoints 3 numVControlPoints 3 uKnotVector [0 0 0 1 1 1] vKnotVector [0 0 1 0.5 1 1]"),
       "vKnotVector decreases at value 3 (0.5 after 1)"},
      {Surface("numUControlPoints 3 numVControlPoints 3 uKnotVector [0 0 0 1 1 1] vKnotVector [0 0 0 0 0 0]"),
       "vKnotVector leaves an empty parameter range (values 2 and 3 are both 0)"},
      {Surface("numUControlPoints 3 numVControlPoints 4 uKnotVector [0 0 0 1 1 1] vKnotVector [0 0 0 1 1 1 1]"),
       "the surface needs 12 coordinates but the state holds 9"},
      {std::string(kNine) +
           "IndexedNurbsSurface { numUControlPoints 2 numVControlPoints 2 coordIndex [0, 1, 9, 3]"
           " uKnotVector [0 0 1 1] vKnotVector [0 0 1 1] }\n",
       "coordIndex entry 2 is 9, outside the 9 coordinates in the state"},
      {std::string(kNine) +
           "IndexedNurbsSurface { numUControlPoints 2 numVControlPoints 2 coordIndex [0, 1, 2]"
           " uKnotVector [0 0 1 1] vKnotVector [0 0 1 1] }\n",
       "coordIndex has 3 entries; the surface needs 4"},
      {"Coordinate4 { point [0 0 0 1, 1 0 0 0, 0 1 0 1, 1 1 0 1] }\n"
       "NurbsSurface { numUControlPoints 2 numVControlPoints 2 uKnotVector [0 0 1 1] vKnotVector [0 0 1 1] }\n",
       "coordinate 1 has weight 0; weights must be positive"},
      {"Coordinate4 { point [0 0 0 1, 1 0 0 1, 0 1 0 1, 1 1 0 -2] }\n"
       "NurbsSurface { numUControlPoints 2 numVControlPoints 2 uKnotVector [0 0 1 1] vKnotVector [0 0 1 1] }\n",
       "coordinate 3 has weight -2; weights must be positive"},
      {Surface("numUControlPoints 2147483647 numVControlPoints 2147483647 uKnotVector [0 0 1 1]"
               " vKnotVector [0 0 1 1]"),
       "uKnotVector has 4 values; 2147483647 control points need between 2147483649 and 2147483671"},
  };
  for (const BadCase &bad : cases) {
    const SurfaceResult result = TessellateOne(bad.scene);
    EXPECT_FALSE(result.ok) << bad.scene;
    EXPECT_TRUE(result.corners.empty());
    EXPECT_EQ(result.reason, bad.reason) << bad.scene;
  }
}

TEST(NurbsBadInput, NonFiniteValuesAreRefused) {
  auto with = [](const std::function<void(SoSeparator *)> &edit) { return TessellateOne(Surface(kGood), edit); };
  const SurfaceResult knot = with([](SoSeparator *root) {
    static_cast<SoNurbsSurface *>(root->getChild(1))->uKnotVector.set1Value(4, NAN);
  });
  EXPECT_FALSE(knot.ok);
  EXPECT_EQ(knot.reason, "uKnotVector value 4 is not a finite number");
  const SurfaceResult point = with([](SoSeparator *root) {
    static_cast<SoCoordinate3 *>(root->getChild(0))->point.set1Value(5, SbVec3f(1, INFINITY, 0));
  });
  EXPECT_FALSE(point.ok);
  EXPECT_EQ(point.reason, "coordinate 5 is not a finite point");
  // The same surface untouched is fine.
  EXPECT_TRUE(with(nullptr).ok);
}

TEST(NurbsBadInput, SurfaceWithoutCoordinatesInTheStateIsRefused) {
  // Only Coin3D's one default coordinate is there.
  const SurfaceResult result = TessellateOne(
      "NurbsSurface { numUControlPoints 2 numVControlPoints 2 uKnotVector [0 0 1 1] vKnotVector [0 0 1 1] }\n");
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.reason, "the surface needs 4 coordinates but the state holds 1");
}

}  // namespace
