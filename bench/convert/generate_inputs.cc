// Writes the benchmark inputs of kavrel-convert:
//   grid PATH [QUADS]     a QUADS x QUADS quad grid (default 700: 980,000 triangles) as one IndexedFaceSet
//   many PATH             20,000 separators, each with its own material (also: shapes-distinct)
//   shapes-shared PATH    50,000 separators sharing 2,000 materials
// Each separator holds a Translation, a Material and a Cube, Cone, Cylinder or Sphere.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char kHeader[] = "#Inventor V2.1 ascii\n\n";

void WriteGrid(FILE *out, int quads) {
  const int side = quads + 1;
  std::fputs(kHeader, out);
  std::fputs("Separator {\n  Coordinate3 {\n    point [\n", out);
  for (int row = 0; row < side; ++row) {
    for (int column = 0; column < side; ++column) {
      // A gentle swell, so normals and welding see real geometry, not a plane.
      double height = 0.5 * std::sin(row * 0.05) * std::cos(column * 0.05);
      std::fprintf(out, "  %d %d %.5f,\n", column, row, height);
    }
  }
  std::fputs("    ]\n  }\n  IndexedFaceSet {\n    coordIndex [\n", out);
  for (int row = 0; row < quads; ++row) {
    for (int column = 0; column < quads; ++column) {
      int corner = row * side + column;
      std::fprintf(out, "  %d, %d, %d, %d, -1,\n", corner, corner + 1, corner + side + 1, corner + side);
    }
  }
  std::fputs("    ]\n  }\n}\n", out);
}

// Material m's colour: distinct for every m below 32,768.
void WriteMaterial(FILE *out, int m) {
  std::fprintf(out, "  Material { diffuseColor %.4f %.4f %.4f }\n", (m % 32) / 31.0, (m / 32 % 32) / 31.0,
               (m / 1024 % 32) / 31.0);
}

void WriteShapes(FILE *out, int shapes, int materials) {
  static const char *const kinds[] = {"Cube {}", "Cone {}", "Cylinder {}", "Sphere {}"};
  const int per_row = static_cast<int>(std::ceil(std::sqrt(shapes)));
  std::fputs(kHeader, out);
  std::fputs("Separator {\n", out);
  for (int i = 0; i < shapes; ++i) {
    std::fprintf(out, "Separator {\n  Translation { translation %d %d 0 }\n", 3 * (i % per_row), 3 * (i / per_row));
    WriteMaterial(out, i % materials);
    std::fprintf(out, "  %s\n}\n", kinds[i % 4]);
  }
  std::fputs("}\n", out);
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 3 && !(argc == 4 && std::strcmp(argv[1], "grid") == 0)) {
    std::fprintf(stderr, "usage: %s grid PATH [QUADS] | many|shapes-distinct|shapes-shared PATH\n", argv[0]);
    return 2;
  }
  FILE *out = std::fopen(argv[2], "w");
  if (out == nullptr) {
    std::perror(argv[2]);
    return 1;
  }
  if (std::strcmp(argv[1], "grid") == 0) {
    WriteGrid(out, argc == 4 ? std::atoi(argv[3]) : 700);
  } else if (std::strcmp(argv[1], "shapes-distinct") == 0 || std::strcmp(argv[1], "many") == 0) {
    WriteShapes(out, 20000, 20000);
  } else if (std::strcmp(argv[1], "shapes-shared") == 0) {
    WriteShapes(out, 50000, 2000);
  } else {
    std::fprintf(stderr, "unknown input kind '%s'\n", argv[1]);
    std::fclose(out);
    return 2;
  }
  return std::fclose(out) == 0 ? 0 : 1;
}
