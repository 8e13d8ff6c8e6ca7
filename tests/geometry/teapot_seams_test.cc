// The teapot's NURBS patches meet without gaps: after welding, the boundary
// vertices of each patch coincide with vertices of neighbouring patches.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

#include "kavrel/host.h"
#include "tests/plugin/conversion_scenario.h"

namespace {

struct PatchPoint {
  kavrel::Vec3 position;
  int patch;
};

kavrel::Vec3 Transform(const kavrel::Vec3 &p, const kavrel::Matrix &m) {
  kavrel::Vec3 out;
  for (int c = 0; c < 3; ++c) out[c] = p[0] * m[c] + p[1] * m[4 + c] + p[2] * m[8 + c] + m[12 + c];
  return out;
}

// Position indices on edges that only one polygon of the mesh uses.
std::vector<int32_t> BoundaryVertices(const kavrel::Mesh &mesh) {
  std::map<std::pair<int32_t, int32_t>, int> edges;
  size_t corner = 0;
  for (int32_t size : mesh.face_sizes) {
    for (int32_t k = 0; k < size; ++k) {
      int32_t a = mesh.position_index[corner + k], b = mesh.position_index[corner + (k + 1) % size];
      ++edges[{std::min(a, b), std::max(a, b)}];
    }
    corner += size;
  }
  std::vector<int32_t> boundary;
  for (const auto &[edge, uses] : edges) {
    if (uses == 1) boundary.insert(boundary.end(), {edge.first, edge.second});
  }
  std::sort(boundary.begin(), boundary.end());
  boundary.erase(std::unique(boundary.begin(), boundary.end()), boundary.end());
  return boundary;
}

bool SharedWithAnotherPatch(const PatchPoint &point, const std::vector<PatchPoint> &all) {
  for (const PatchPoint &other : all) {
    if (other.patch == point.patch) continue;
    float d = 0;
    for (int c = 0; c < 3; ++c) d = std::max(d, std::fabs(other.position[c] - point.position[c]));
    if (d < 1e-4f) return true;
  }
  return false;
}

TEST(TeapotSeams, AdjacentPatchesShareTheirEdgeVertices) {
  plugin_test::Conversion run;
  ASSERT_EQ(run.Convert("/usr/share/inventor/data/models/household/teapot.iv"), 0);
  EXPECT_TRUE(run.Errors(1).empty());
  const kavrel::Scene &scene = kavrel::CurrentHost().scene();
  std::vector<PatchPoint> all, boundary;
  for (size_t i = 0; i < scene.instances.items.size(); ++i) {
    const kavrel::Instance &instance = scene.instances.items[i];
    if (instance.removed || instance.object == kavrel::kNone) continue;
    const kavrel::Mesh &mesh = scene.objects.items[instance.object].mesh;
    const kavrel::Matrix world = kavrel::WorldMatrix(scene, static_cast<int32_t>(i));
    for (const kavrel::Vec3 &p : mesh.positions) all.push_back({Transform(p, world), static_cast<int>(i)});
    for (int32_t v : BoundaryVertices(mesh)) boundary.push_back({Transform(mesh.positions[v], world), static_cast<int>(i)});
  }
  ASSERT_EQ(run.printed.find("Number of objects created = 32\n") != std::string::npos, true) << run.printed;
  size_t shared = 0;
  for (const PatchPoint &point : boundary) shared += SharedWithAnotherPatch(point, all);
  // Only the spout's ends and the handle's ends (which meet the body inside
  // a patch) are open: 1056 of the 1200 boundary vertices lie on seams. A
  // density that differed between neighbours would leave only the corners.
  EXPECT_GE(shared * 100, boundary.size() * 85) << shared << " of " << boundary.size();
}

}  // namespace
