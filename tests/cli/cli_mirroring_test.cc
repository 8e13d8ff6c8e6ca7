// A mirroring placement keeps the fronts outside, in every format: the
// faces of a cube under Scale { scaleFactor -1 1 1 } must face away from
// its centre in world space, read back the way a viewer reads the file.
// Where a node's world matrix mirrors (glTF, COLLADA, X3D), a viewer takes
// its triangles' fronts as clockwise (glTF requires it; scene-graph viewers
// do it too, FBX's negative scale among them); formats without nodes (OBJ,
// PLY, STL) must have the mirroring in their coordinates, windings and
// normals already, and so must 3MF, whose build items our writer places
// without mirroring transforms (it is Z up: the mirror's x stays where it
// is).
#include <gtest/gtest.h>

#include "convert_process.h"
#include "world_triangles.h"

namespace kavrel_test {
namespace {

TEST(Mirroring, EveryFormatKeepsAMirroredCubesFacesOutside) {
  ScratchDirectory scratch;
  scratch.Write("mirrored.iv",
                "#Inventor V2.1 ascii\n\nSeparator {\n  Scale { scaleFactor -1 1 1 }\n"
                "  Translation { translation 3 0 0 }\n  Cube {}\n}\n");
  const Vec centre{-3, 0, 0};                  // where the mirror takes the cube
  for (const char *extension : {"glb", "obj", "ply", "stl", "dae", "3mf", "x3d", "fbx"}) {
    const std::string output = std::string("mirrored.") + extension;
    const ProcessResult run = RunConvert(scratch, {"-q", "-o", output, "mirrored.iv"}, scratch.path());
    ASSERT_EQ(run.status, 0) << extension << run.err;
    const std::string path = scratch.path() + "/" + output;
    const std::string format = extension;
    const std::vector<Triangle> triangles = (format == "glb"   ? GltfScene(path)
                                             : format == "3mf" ? ThreeMfScene(path)
                                                               : AssimpScene(path))
                                                .triangles;
    ASSERT_EQ(triangles.size(), 12u) << extension;
    for (size_t t = 0; t < triangles.size(); ++t) {
      const Triangle &tri = triangles[t];
      const Vec outward = (tri.p[0] + tri.p[1] + tri.p[2]) * (1.0f / 3) - centre;
      const Vec front = (tri.p[1] - tri.p[0]).Cross(tri.p[2] - tri.p[0]) * (tri.clockwise ? -1.0f : 1.0f);
      EXPECT_GT(front.Dot(outward), 0) << extension << " triangle " << t << " faces into the cube";
      for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(tri.p[k].x, -3, 1.001f) << extension << " triangle " << t << " is not where the mirror puts it";
        if (tri.normals) {
          EXPECT_GT(tri.n[k].Dot(outward), 0) << extension << " normal of " << t;
        }
      }
    }
  }
}

}  // namespace
}  // namespace kavrel_test
