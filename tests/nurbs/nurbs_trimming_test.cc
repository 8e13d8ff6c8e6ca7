// Trimmed surfaces: what the loops keep, cut exactly along their edges.
#include <cmath>

#include <gtest/gtest.h>

#include "tests/nurbs/nurbs_scene.h"

namespace {

// The flat square 0 <= x, y <= 1 with x = u and y = v, cubic both ways so
// that it is sampled 10 x 10 at the default complexity.
const char *kSquare =
    "Coordinate3 { point [0 0 0, 0.333333333 0 0, 0.666666667 0 0, 1 0 0,\n"
    "  0 0.333333333 0, 0.333333333 0.333333333 0, 0.666666667 0.333333333 0, 1 0.333333333 0,\n"
    "  0 0.666666667 0, 0.333333333 0.666666667 0, 0.666666667 0.666666667 0, 1 0.666666667 0,\n"
    "  0 1 0, 0.333333333 1 0, 0.666666667 1 0, 1 1 0] }\n"
    "NurbsSurface { numUControlPoints 4 numVControlPoints 4\n"
    "  uKnotVector [0 0 0 0 1 1 1 1] vKnotVector [0 0 0 0 1 1 1 1] }\n";

// Profile points 0-3: the domain's boundary; 4-7: the hole 0.25..0.75 (counter-clockwise).
const char *kSquareLoops =
    "ProfileCoordinate2 { point [0 0, 1 0, 1 1, 0 1, 0.25 0.25, 0.75 0.25, 0.75 0.75, 0.25 0.75] }\n";

bool InsideHole(const SbVec3f &p) {
  return p[0] > 0.25 + 1e-6 && p[0] < 0.75 - 1e-6 && p[1] > 0.25 + 1e-6 && p[1] < 0.75 - 1e-6;
}

TEST(NurbsTrimming, SquareLosesTheTrianglesInsideItsHole) {
  const std::string hole_variants[] = {
      // Outer boundary and hole, each its own loop.
      "LinearProfile { index [0, 1, 2, 3] linkage START_FIRST }\n"
      "LinearProfile { index [4, 5, 6, 7] linkage START_NEW }\n",
      // The boundary in two pieces joined into one loop; the hole clockwise.
      "LinearProfile { index [0, 1, 2] linkage START_FIRST }\n"
      "LinearProfile { index [2, 3] linkage ADD_TO_CURRENT }\n"
      "LinearProfile { index [7, 6, 5, 4] linkage START_NEW }\n",
      // Only the hole, clockwise: the domain counts as the outer loop.
      "LinearProfile { index [4, 7, 6, 5] }\n"};
  for (const std::string &loops : hole_variants) {
    const SurfaceResult result = TessellateOne(kSquareLoops + loops + kSquare);
    ASSERT_TRUE(result.ok) << result.reason;
    EXPECT_EQ(result.warning, "");
    EXPECT_NEAR(PlanarArea(result.corners), 0.75, 1e-5) << loops;
    for (size_t k = 0; k < result.corners.size(); k += 3) {
      const SbVec3f centre =
          (result.corners[k].getPoint() + result.corners[k + 1].getPoint() + result.corners[k + 2].getPoint()) / 3;
      EXPECT_FALSE(InsideHole(centre)) << loops;
    }
  }
}

TEST(NurbsTrimming, LoopsCutAcrossCellsKeepExactlyTheirArea) {
  // A slanted triangle kept, and inside it a slanted triangle removed again.
  const SurfaceResult result = TessellateOne(
      "ProfileCoordinate2 { point [0.1 0.1, 0.93 0.2, 0.3 0.87, 0.3 0.3, 0.5 0.32, 0.35 0.5] }\n"
      "LinearProfile { index [0, 1, 2] }\n"
      "LinearProfile { index [3, 4, 5] linkage START_NEW }\n" +
      std::string(kSquare));
  ASSERT_TRUE(result.ok) << result.reason;
  auto area = [](double ax, double ay, double bx, double by, double cx, double cy) {
    return 0.5 * ((bx - ax) * (cy - ay) - (cx - ax) * (by - ay));
  };
  EXPECT_NEAR(PlanarArea(result.corners), area(0.1, 0.1, 0.93, 0.2, 0.3, 0.87) - area(0.3, 0.3, 0.5, 0.32, 0.35, 0.5),
              1e-5);
}

TEST(NurbsTrimming, NurbsProfileCutsARoundHoleOrKeepsADisc) {
  // A circle of radius 0.25 around (0.5, 0.5): four rational quadratic arcs.
  const std::string circle =
      "ProfileCoordinate3 { point [0.75 0.5 1, 0.5303301 0.5303301 0.70710678, 0.5 0.75 1,\n"
      "  0.1767767 0.5303301 0.70710678, 0.25 0.5 1, 0.1767767 0.1767767 0.70710678, 0.5 0.25 1,\n"
      "  0.5303301 0.1767767 0.70710678] }\n";
  const std::string knots = " knotVector [0 0 0 1 1 2 2 3 3 4 4 4] }\n";
  // Inscribed polygons of the sampled circle: slightly less than the disc.
  const double disc = M_PI * 0.25 * 0.25;
  // Counter-clockwise: the one loop keeps its inside.
  const std::string ccw = "NurbsProfile { index [0, 1, 2, 3, 4, 5, 6, 7, 0]";
  const SurfaceResult kept = TessellateOne(circle + ccw + knots + kSquare);
  ASSERT_TRUE(kept.ok) << kept.reason;
  EXPECT_NEAR(PlanarArea(kept.corners), disc, 5e-4);
  // Clockwise: a hole in the whole domain.
  const std::string cw = "NurbsProfile { index [0, 7, 6, 5, 4, 3, 2, 1, 0]";
  const SurfaceResult holed = TessellateOne(circle + cw + knots + kSquare);
  ASSERT_TRUE(holed.ok) << holed.reason;
  EXPECT_EQ(holed.warning, "");
  EXPECT_NEAR(PlanarArea(holed.corners), 1 - disc, 5e-4);
  for (const SoPrimitiveVertex &c : holed.corners) {
    EXPECT_GT(std::hypot(c.getPoint()[0] - 0.5, c.getPoint()[1] - 0.5), 0.25 - 1e-3);
  }
}

TEST(NurbsTrimming, UnreadableTrimLeavesTheSurfaceWholeWithANote) {
  const SurfaceResult result =
      TessellateOne(std::string(kSquareLoops) + "LinearProfile { index [4, 5, 9] }\n" + kSquare);
  ASSERT_TRUE(result.ok) << result.reason;
  EXPECT_EQ(result.warning,
            "trim curves ignored, the surface is imported untrimmed: profile 1 (LinearProfile): index entry 2 is 9, "
            "outside the 8 profile coordinates in the state");
  EXPECT_NEAR(PlanarArea(result.corners), 1.0, 1e-5);
}

// A clockwise saw-tooth loop of 2 * teeth + 2 points: a hole whose area is
// 0.9 * 0.8 / 2 under the teeth plus the strip 0.05 high below them.
std::string SawTooth(int teeth) {
  std::string points, index;
  for (int k = 0; k < teeth; ++k) {
    const double x = 0.05 + 0.9 * k / teeth;
    points += std::to_string(x) + " 0.1, " + std::to_string(x + 0.45 / teeth) + " 0.9, ";
  }
  points += "0.95 0.05, 0.05 0.05";
  for (int k = 0; k < 2 * teeth + 2; ++k) index += std::to_string(k) + " ";
  return "ProfileCoordinate2 { point [" + points + "] }\nLinearProfile { index [" + index + "] }\n";
}

TEST(NurbsTrimming, DenseLoopsAreCutOrGivenUpQuickly) {
  const SurfaceResult dense = TessellateOne(SawTooth(1000) + kSquare);
  ASSERT_TRUE(dense.ok) << dense.reason;
  EXPECT_EQ(dense.warning, "");
  EXPECT_NEAR(PlanarArea(dense.corners), 1 - (0.36 + 0.045), 1e-3);
  // Thousands of segments per cell: beyond the work limit, left untrimmed.
  const SurfaceResult too_dense = TessellateOne(SawTooth(20000) + kSquare);
  ASSERT_TRUE(too_dense.ok) << too_dense.reason;
  EXPECT_EQ(too_dense.warning,
            "trim curves ignored, the surface is imported untrimmed: they are too dense to cut within the work limit");
  EXPECT_NEAR(PlanarArea(too_dense.corners), 1.0, 1e-5);
}

}  // namespace
