// Untrimmed surfaces: shape, normals, sampling density, texture coordinates.
#include <cmath>

#include <gtest/gtest.h>

#include "tests/nurbs/nurbs_scene.h"

namespace {

// Heights of a bicubic Bezier patch over the control grid x = i, y = j.
const double kHeights[4][4] = {{0, 1, 1, 0}, {1, 3, -2, 1}, {0, 2, 2, -1}, {1, 0, 1, 2}};

std::string BezierPatch(const std::string &complexity) {
  std::string points;
  for (int j = 0; j < 4; ++j)
    for (int i = 0; i < 4; ++i)
      points += std::to_string(i) + " " + std::to_string(j) + " " + std::to_string(kHeights[j][i]) + ",";
  return complexity + "Coordinate3 { point [" + points +
         "] }\n"
         "NurbsSurface { numUControlPoints 4 numVControlPoints 4\n"
         "  uKnotVector [0 0 0 0 1 1 1 1] vKnotVector [0 0 0 0 1 1 1 1] }\n";
}

double Bernstein(int degree, int i, double t) {
  if (i < 0 || i > degree) return 0.0;
  const double binomial = degree == 3 ? (i == 0 || i == 3 ? 1 : 3) : (i == 1 ? 2 : 1);
  return binomial * std::pow(t, i) * std::pow(1 - t, degree - i);
}

double Bernstein(int i, double t) { return Bernstein(3, i, t); }
double BernsteinDeriv(int i, double t) { return 3 * (Bernstein(2, i - 1, t) - Bernstein(2, i, t)); }

SbVec3f Analytic(double u, double v, SbVec3f &normal) {
  double p[3] = {0, 0, 0}, du[3] = {0, 0, 0}, dv[3] = {0, 0, 0};
  for (int j = 0; j < 4; ++j) {
    for (int i = 0; i < 4; ++i) {
      const double q[3] = {double(i), double(j), kHeights[j][i]};
      for (int c = 0; c < 3; ++c) {
        p[c] += Bernstein(i, u) * Bernstein(j, v) * q[c];
        du[c] += BernsteinDeriv(i, u) * Bernstein(j, v) * q[c];
        dv[c] += Bernstein(i, u) * BernsteinDeriv(j, v) * q[c];
      }
    }
  }
  normal = SbVec3f(float(du[0]), float(du[1]), float(du[2])).cross(SbVec3f(float(dv[0]), float(dv[1]), float(dv[2])));
  normal.normalize();
  return SbVec3f(float(p[0]), float(p[1]), float(p[2]));
}

TEST(NurbsSurface, BicubicBezierPatchMatchesTheAnalyticSurface) {
  const SurfaceResult result = TessellateOne(BezierPatch(""));
  ASSERT_TRUE(result.ok) << result.reason;
  EXPECT_EQ(result.warning, "");
  // Default complexity 0.5: 10 x 10 cells of two triangles.
  ASSERT_EQ(result.corners.size(), 3u * 200);
  for (const SoPrimitiveVertex &corner : result.corners) {
    // Default texture coordinates are the parameters, here already in [0, 1].
    const SbVec2f st = Tex(corner);
    SbVec3f normal;
    const SbVec3f expected = Analytic(st[0], st[1], normal);
    EXPECT_LT((corner.getPoint() - expected).length(), 1e-5) << st[0] << " " << st[1];
    EXPECT_GT(corner.getNormal().dot(normal), 0.9999f) << st[0] << " " << st[1];
    EXPECT_EQ(corner.getMaterialIndex(), 0);
  }
  // Triangles wind counter-clockwise about the normals.
  for (size_t k = 0; k < result.corners.size(); k += 3) {
    const SbVec3f a = result.corners[k].getPoint();
    const SbVec3f face = (result.corners[k + 1].getPoint() - a).cross(result.corners[k + 2].getPoint() - a);
    EXPECT_GT(face.dot(result.corners[k].getNormal()), 0.0f);
  }
}

TEST(NurbsSurface, ComplexitySetsTheDensity) {
  auto triangles = [](const std::string &complexity) {
    return TessellateOne(BezierPatch(complexity)).corners.size() / 3;
  };
  EXPECT_EQ(triangles("Complexity { value 0 }\n"), 2u * 2 * 2);
  EXPECT_EQ(triangles("Complexity { value 1 }\n"), 2u * 32 * 32);
  EXPECT_EQ(triangles("Complexity { type SCREEN_SPACE value 1 }\n"), 2u * 32 * 32);
  EXPECT_EQ(triangles("Complexity { type BOUNDING_BOX value 1 }\n"), 2u * 2 * 2);
}

// Quarter of the cylinder x^2 + y^2 = 1, 0 <= z <= 2: a rational quadratic
// arc along u, straight along v.
const char *kQuarterCylinder =
    "Coordinate4 { point [1 0 0 1, 0.70710678 0.70710678 0 0.70710678, 0 1 0 1,\n"
    "                     1 0 2 1, 0.70710678 0.70710678 1.41421356 0.70710678, 0 1 2 1] }\n"
    "NurbsSurface { numUControlPoints 3 numVControlPoints 2\n"
    "  uKnotVector [0 0 0 1 1 1] vKnotVector [0 0 1 1] }\n";

TEST(NurbsSurface, RationalQuarterCylinderLiesOnItsCylinder) {
  const SurfaceResult result = TessellateOne(kQuarterCylinder);
  ASSERT_TRUE(result.ok) << result.reason;
  // The straight direction needs no more than one segment per span.
  EXPECT_EQ(result.corners.size(), 3u * 2 * 10);
  for (const SoPrimitiveVertex &corner : result.corners) {
    const SbVec3f p = corner.getPoint();
    EXPECT_NEAR(std::hypot(p[0], p[1]), 1.0, 1e-5);
    EXPECT_GE(p[2], -1e-6f);
    EXPECT_LE(p[2], 2 + 1e-6f);
    const SbVec3f radial = SbVec3f(p[0], p[1], 0) / std::hypot(p[0], p[1]);
    EXPECT_GT(corner.getNormal().dot(radial), 0.9999f);
  }
}

// Cox-de Boor by its recursive definition, as an independent reference.
double Basis(const std::vector<double> &knots, int i, int degree, double t) {
  if (degree == 0) {
    const bool last = t == knots.back() && knots[i] < knots[i + 1] && knots[i + 1] == knots.back();
    return (knots[i] <= t && t < knots[i + 1]) || last ? 1.0 : 0.0;
  }
  double value = 0.0;
  if (knots[i + degree] > knots[i]) {
    value += (t - knots[i]) / (knots[i + degree] - knots[i]) * Basis(knots, i, degree - 1, t);
  }
  if (knots[i + degree + 1] > knots[i + 1]) {
    value += (knots[i + degree + 1] - t) / (knots[i + degree + 1] - knots[i + 1]) * Basis(knots, i + 1, degree - 1, t);
  }
  return value;
}

TEST(NurbsSurface, InteriorKnotKeepsTheSurfaceContinuous) {
  // Cubic along u with an interior knot at 2 over the domain [0, 4]; linear along v.
  const SurfaceResult result = TessellateOne(
      "Coordinate3 { point [0 0 0, 1 0 2, 2 0 -1, 3 0 3, 4 0 1, 0 1 0, 1 1 2, 2 1 -1, 3 1 3, 4 1 1] }\n"
      "NurbsSurface { numUControlPoints 5 numVControlPoints 2\n"
      "  uKnotVector [0 0 0 0 2 4 4 4 4] vKnotVector [0 0 1 1] }\n");
  ASSERT_TRUE(result.ok) << result.reason;
  // The reference curve x(u), z(u) and its slope by central differences.
  auto curve = [](double u, double &x, double &z) {
    const std::vector<double> knots = {0, 0, 0, 0, 2, 4, 4, 4, 4};
    const double heights[5] = {0, 2, -1, 3, 1};
    x = z = 0;
    for (int i = 0; i < 5; ++i) {
      x += Basis(knots, i, 3, u) * i;
      z += Basis(knots, i, 3, u) * heights[i];
    }
  };
  int on_knot = 0;
  for (const SoPrimitiveVertex &corner : result.corners) {
    const double u = 4.0 * Tex(corner)[0];
    double x, z, x0, z0, x1, z1;
    curve(u, x, z);
    curve(std::max(0.0, u - 1e-5), x0, z0);
    curve(std::min(4.0, u + 1e-5), x1, z1);
    EXPECT_NEAR(corner.getPoint()[0], x, 1e-5) << u;
    EXPECT_NEAR(corner.getPoint()[2], z, 1e-5) << u;
    // Normal of (x(u), v, z(u)): (-z', 0, x').
    SbVec3f normal(float(z0 - z1), 0.0f, float(x1 - x0));
    normal.normalize();
    EXPECT_GT(corner.getNormal().dot(normal), 0.9999f) << u;
    on_knot += u == 2.0;
  }
  // Both spans' triangles meet on the knot line.
  EXPECT_EQ(on_knot, 6);
}

TEST(NurbsSurface, TextureCoordinatesFollowTheScene) {
  const std::string patch =
      "Coordinate3 { point [0 0 0, 4 0 0, 0 2 0, 4 2 0] }\n"
      "NurbsSurface { numUControlPoints 2 numVControlPoints 2 uKnotVector [0 0 4 4] vKnotVector [1 1 3 3]\n";
  // Default: the parameters normalised to [0, 1].
  SurfaceResult plain = TessellateOne(patch + "}\n");
  ASSERT_TRUE(plain.ok) << plain.reason;
  for (const SoPrimitiveVertex &c : plain.corners) {
    EXPECT_NEAR(Tex(c)[0], c.getPoint()[0] / 4, 1e-6);
    EXPECT_NEAR(Tex(c)[1], c.getPoint()[1] / 2, 1e-6);
  }
  // A NURBS texture function: bilinear over its own knot range.
  SurfaceResult nurbs = TessellateOne("TextureCoordinate2 { point [0 0, 2 0, 0 3, 2 3] }\n" + patch +
                                      " numSControlPoints 2 numTControlPoints 2 sKnotVector [0 0 1 1]"
                                      " tKnotVector [0 0 1 1] }\n");
  ASSERT_TRUE(nurbs.ok) << nurbs.reason;
  EXPECT_EQ(nurbs.warning, "");
  for (const SoPrimitiveVertex &c : nurbs.corners) {
    EXPECT_NEAR(Tex(c)[0], 2 * c.getPoint()[0] / 4, 1e-5);
    EXPECT_NEAR(Tex(c)[1], 3 * c.getPoint()[1] / 2, 1e-5);
  }
  // A texture-coordinate function in the state.
  SurfaceResult plane = TessellateOne(
      "TextureCoordinatePlane { directionS 0.5 0 0 directionT 0 0.25 0 }\n" + patch + "}\n");
  ASSERT_TRUE(plane.ok) << plane.reason;
  for (const SoPrimitiveVertex &c : plane.corners) {
    EXPECT_NEAR(Tex(c)[0], 0.5 * c.getPoint()[0], 1e-5);
    EXPECT_NEAR(Tex(c)[1], 0.25 * c.getPoint()[1], 1e-5);
  }
  // Unusable texture control points: defaults, and a note saying so.
  SurfaceResult short_net = TessellateOne("TextureCoordinate2 { point [0 0, 2 0] }\n" + patch +
                                          " numSControlPoints 2 numTControlPoints 2 sKnotVector [0 0 1 1]"
                                          " tKnotVector [0 0 1 1] }\n");
  ASSERT_TRUE(short_net.ok);
  EXPECT_EQ(short_net.warning,
            "texture coordinates ignored, default ones used: the surface needs 4 texture coordinates but the state "
            "holds 2");
}

TEST(NurbsSurface, IndexedSurfaceMatchesThePlainOne) {
  const SurfaceResult plain = TessellateOne(kQuarterCylinder);
  const SurfaceResult indexed = TessellateOne(
      "Coordinate4 { point [0 1 2 1, 0 0 0 5, 1 0 0 1, 0.70710678 0.70710678 0 0.70710678, 0 1 0 1,\n"
      "                     1 0 2 1, 0.70710678 0.70710678 1.41421356 0.70710678] }\n"
      "IndexedNurbsSurface { numUControlPoints 3 numVControlPoints 2 coordIndex [2, 3, 4, 5, 6, 0]\n"
      "  uKnotVector [0 0 0 1 1 1] vKnotVector [0 0 1 1] }\n");
  ASSERT_TRUE(indexed.ok) << indexed.reason;
  ASSERT_EQ(indexed.corners.size(), plain.corners.size());
  for (size_t k = 0; k < plain.corners.size(); ++k) {
    EXPECT_EQ(indexed.corners[k].getPoint(), plain.corners[k].getPoint());
    EXPECT_EQ(indexed.corners[k].getNormal(), plain.corners[k].getNormal());
  }
}

TEST(NurbsSurface, CollapsedEdgeGetsTheNormalsOfItsNeighbourhood) {
  // A bilinear-by-quadratic cone: every point of the row v = 1 is the apex.
  const SurfaceResult result = TessellateOne(
      "Coordinate3 { point [1 0 0, 1 1 0, 0 1 0, 0 0 1, 0 0 1, 0 0 1] }\n"
      "NurbsSurface { numUControlPoints 3 numVControlPoints 2 uKnotVector [0 0 0 1 1 1] vKnotVector [0 0 1 1] }\n");
  ASSERT_TRUE(result.ok) << result.reason;
  for (const SoPrimitiveVertex &c : result.corners) {
    const SbVec3f n = c.getNormal();
    EXPECT_NEAR(n.length(), 1.0f, 1e-5);
    // The whole cone faces away from its axis and upwards.
    EXPECT_GT(n[0] + n[1], 0.0f);
    EXPECT_GT(n[2], 0.0f);
  }
}

}  // namespace
