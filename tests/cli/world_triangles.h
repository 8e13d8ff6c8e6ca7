// The triangles of an output in world space, read back the way a viewer
// reads the file: a .glb as the glTF standard says (node transforms down
// the hierarchy), a 3MF through lib3mf (each build item's transform), the
// other formats through assimp's importers. Each triangle keeps its
// corners' normals, whether its front runs clockwise (its node's world
// matrix mirrors), its material's colour with opacity and its corners'
// colours. Line segments and points are not read.
#ifndef TESTS_CLI_WORLD_TRIANGLES_H
#define TESTS_CLI_WORLD_TRIANGLES_H

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace kavrel_test {

struct Vec {
  float x = 0, y = 0, z = 0;
  Vec operator-(const Vec &o) const { return {x - o.x, y - o.y, z - o.z}; }
  Vec operator+(const Vec &o) const { return {x + o.x, y + o.y, z + o.z}; }
  Vec operator*(float s) const { return {x * s, y * s, z * s}; }
  float Dot(const Vec &o) const { return x * o.x + y * o.y + z * o.z; }
  Vec Cross(const Vec &o) const { return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x}; }
};

struct Triangle {
  Vec p[3], n[3];
  bool clockwise = false;
  bool normals = true;                         // the file has normals (3MF has none)
  std::array<float, 4> color{1, 1, 1, 1};      // the material's diffuse colour and opacity (3MF: the first corner's)
  // Each corner's colour: the material's times the corner's vertex colour
  // where the file has vertex colours, with the material's opacity.
  std::array<std::array<float, 4>, 3> corner_colors{};
};

struct WorldScene {
  std::vector<Triangle> triangles;
  std::multiset<std::string> names;            // the named nodes below the root (3MF: the build items' part numbers)
};

// What lib3mf reads of a 3MF file besides its triangles.
struct ThreeMfFacts {
  uint32_t unit = 0;                           // lib3mf's unit: 1 millimetre
  long items = 0;                              // build items
  long objects = 0;                            // mesh objects
  long materials = 0;                          // base materials of every group
  long manifold_items = 0;                     // build items whose object is manifold and oriented
};

WorldScene GltfScene(const std::string &glb_path);
WorldScene AssimpScene(const std::string &path);
// The build items' triangles in their order; facts, when given, filled too.
WorldScene ThreeMfScene(const std::string &path, ThreeMfFacts *facts = nullptr);

// The triangles of `expected` that no triangle of `actual` matches (the
// same corners in the same order within tolerance, the same colour within
// 1e-3), described for a failure message, at most `limit` of them; each
// triangle of actual matches at most one.
std::vector<std::string> UnmatchedTriangles(const std::vector<Triangle> &expected, const std::vector<Triangle> &actual,
                                            float tolerance, size_t limit = 5);

}  // namespace kavrel_test

#endif
