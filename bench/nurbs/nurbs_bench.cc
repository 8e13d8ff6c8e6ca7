// bench_nurbs [TEAPOT.iv]: times the NURBS tessellator.
//  1. A 64 x 64 control-point bicubic surface, tessellated by the pure
//     tessellator at growing segments per knot span with no cap on the grid:
//     time against triangle count, to show the cost is linear.
//  2. The same surface as an SoNurbsSurface at complexity 1.0 through
//     TessellateNurbsSurface, as the plug-in calls it (grid capped).
//  3. Every surface of the teapot through TessellateNurbsSurface.
// Prints one line per measurement; the last line of part 1 is the spread of
// nanoseconds per triangle over the three densest runs.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include <Inventor/SoDB.h>
#include <Inventor/SoInput.h>
#include <Inventor/SoPrimitiveVertex.h>
#include <Inventor/actions/SoCallbackAction.h>
#include <Inventor/nodes/SoComplexity.h>
#include <Inventor/nodes/SoCoordinate3.h>
#include <Inventor/nodes/SoIndexedNurbsSurface.h>
#include <Inventor/nodes/SoNurbsSurface.h>
#include <Inventor/nodes/SoSeparator.h>

#include "geometry/nurbs/tessellator.h"
#include "geometry/nurbs/nurbs.h"

namespace {

constexpr int kControl = 64;

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Best of a few runs of job, which returns the triangles it made.
template <typename Job>
double BestTime(int runs, Job job, size_t &triangles) {
  double best = 1e30;
  for (int k = 0; k < runs; ++k) {
    const auto start = std::chrono::steady_clock::now();
    triangles = job();
    best = std::min(best, Seconds(start));
  }
  return best;
}

float Height(int i, int j) { return float(std::sin(i * 0.3) * std::cos(j * 0.2) * 4.0); }

std::vector<float> ClampedUniformKnots() {
  std::vector<float> knots;
  for (int k = 0; k < 4; ++k) knots.push_back(0);
  for (int k = 1; k < kControl - 3; ++k) knots.push_back(float(k));
  for (int k = 0; k < 4; ++k) knots.push_back(float(kControl - 3));
  return knots;
}

nurbs::TessellationInput WavySurface() {
  nurbs::TessellationInput input;
  const std::vector<float> knots = ClampedUniformKnots();
  std::string problem;
  nurbs::MakeKnotVector(knots.data(), int(knots.size()), kControl, "uKnotVector", input.surface.u, problem);
  nurbs::MakeKnotVector(knots.data(), int(knots.size()), kControl, "vKnotVector", input.surface.v, problem);
  for (int j = 0; j < kControl; ++j) {
    for (int i = 0; i < kControl; ++i) {
      input.surface.control.insert(input.surface.control.end(), {double(i), double(j), Height(i, j), 1.0});
    }
  }
  nurbs::ComputeScale(input.surface);
  input.max_cells = INT64_MAX;
  return input;
}

void LinearTimeSeries() {
  nurbs::TessellationInput input = WavySurface();
  std::vector<double> per_triangle;
  // One mesh for all runs: its arrays keep their capacity, so the times
  // measure the tessellation rather than the kernel mapping fresh pages.
  nurbs::SurfaceMesh mesh;
  for (int segments : {1, 2, 4, 8, 16, 32}) {
    input.curved_segments = segments;
    size_t triangles = 0;
    const double time = BestTime(3, [&] {
      std::string warning;
      nurbs::TessellateSurface(input, mesh, warning);
      return mesh.triangles.size() / 3;
    }, triangles);
    per_triangle.push_back(time * 1e9 / triangles);
    std::printf("64x64 bicubic, %2d segments/span: %9zu triangles %8.3f s %6.1f ns/triangle\n", segments, triangles,
                time, per_triangle.back());
  }
  const auto densest = per_triangle.end() - 3;
  std::printf("ns/triangle spread over the three densest runs: %.2f\n",
              *std::max_element(densest, per_triangle.end()) / *std::min_element(densest, per_triangle.end()));
}

// Kept across surfaces and runs, as the plug-in keeps its corner list.
std::vector<SoPrimitiveVertex> corners;

SoCallbackAction::Response CountSurface(void *data, SoCallbackAction *action, const SoNode *node) {
  auto *totals = static_cast<size_t *>(data);
  SbString reason;
  if (!TessellateNurbsSurface(action, node, corners, reason)) {
    std::fprintf(stderr, "surface refused: %s\n", reason.getString());
  }
  totals[0] += 1;
  totals[1] += corners.size() / 3;
  return SoCallbackAction::CONTINUE;
}

// Surfaces and triangles made by tessellating every surface under root.
void TessellateAll(SoNode *root, size_t &surfaces, size_t &triangles) {
  size_t totals[2] = {0, 0};
  SoCallbackAction action;
  action.addPreCallback(SoNurbsSurface::getClassTypeId(), CountSurface, totals);
  action.addPreCallback(SoIndexedNurbsSurface::getClassTypeId(), CountSurface, totals);
  action.apply(root);
  surfaces = totals[0];
  triangles = totals[1];
}

void ThroughThePlugin(SoNode *root, const char *label) {
  size_t surfaces = 0, triangles = 0;
  const double time = BestTime(3, [&] {
    TessellateAll(root, surfaces, triangles);
    return triangles;
  }, triangles);
  std::printf("%s: %zu surfaces, %zu triangles, %.3f s (%.1f ns/triangle)\n", label, surfaces, triangles, time,
              time * 1e9 / std::max<size_t>(triangles, 1));
}

SoSeparator *WavyNode(float complexity) {
  auto *root = new SoSeparator;
  auto *level = new SoComplexity;
  level->value = complexity;
  auto *coords = new SoCoordinate3;
  for (int j = 0; j < kControl; ++j) {
    for (int i = 0; i < kControl; ++i) coords->point.set1Value(j * kControl + i, float(i), float(j), Height(i, j));
  }
  auto *surface = new SoNurbsSurface;
  const std::vector<float> knots = ClampedUniformKnots();
  surface->numUControlPoints = kControl;
  surface->numVControlPoints = kControl;
  surface->uKnotVector.setValues(0, int(knots.size()), knots.data());
  surface->vKnotVector.setValues(0, int(knots.size()), knots.data());
  root->addChild(level);
  root->addChild(coords);
  root->addChild(surface);
  return root;
}

void Teapot(const char *path) {
  SoInput input;
  if (!input.openFile(path)) return;
  SoSeparator *root = SoDB::readAll(&input);
  if (!root) return;
  root->ref();
  ThroughThePlugin(root, "teapot, default complexity");
  auto *detailed = new SoSeparator;
  detailed->ref();
  auto *level = new SoComplexity;
  level->value = 1.0f;
  detailed->addChild(level);
  detailed->addChild(root);
  ThroughThePlugin(detailed, "teapot, complexity 1.0");
  detailed->unref();
  root->unref();
}

}  // namespace

int main(int argc, char **argv) {
  SoDB::init();
  LinearTimeSeries();
  SoSeparator *wavy = WavyNode(1.0f);
  wavy->ref();
  ThroughThePlugin(wavy, "64x64 SoNurbsSurface, complexity 1.0");
  wavy->unref();
  Teapot(argc > 1 ? argv[1] : "/usr/share/inventor/data/models/household/teapot.iv");
  return 0;
}
