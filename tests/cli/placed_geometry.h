// Geometry of an output as a viewer places it, for tests that check where
// triangles land and how they look: affine matrices, our .glb read as its
// specification says a viewer must, and a 3MF file as lib3mf reads it.
#ifndef TESTS_CLI_PLACED_GEOMETRY_H
#define TESTS_CLI_PLACED_GEOMETRY_H

#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace kavrel_test {

struct Vec {
  float x = 0, y = 0, z = 0;
  Vec operator-(const Vec &o) const { return {x - o.x, y - o.y, z - o.z}; }
  Vec operator+(const Vec &o) const { return {x + o.x, y + o.y, z + o.z}; }
  Vec operator*(float s) const { return {x * s, y * s, z * s}; }
  float Dot(const Vec &o) const { return x * o.x + y * o.y + z * o.z; }
  Vec Cross(const Vec &o) const { return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x}; }
};

// A column-vector affine matrix: rows r, p' = M p.
struct Affine {
  float m[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};
  Vec Point(const Vec &p) const;
  Vec Column(int c) const { return {m[0][c], m[1][c], m[2][c]}; }
  float Determinant() const { return Column(0).Dot(Column(1).Cross(Column(2))); }
  // Through the inverse transpose, up to a positive factor: the cofactors.
  Vec Normal(const Vec &n) const;
  Affine Then(const Affine &inner) const;    // this x inner: inner applied first
};

// A colour as 8-bit red, green, blue and alpha.
using Rgba = std::array<uint8_t, 4>;

// A 0..1 value as 3MF stores it.
uint8_t ColorByte(float value);

// --- our .glb ---

struct Glb {
  nlohmann::json doc;
  std::string bin;
  // Component component of element index of an accessor, as T.
  template <typename T>
  T Element(int accessor, size_t index, int component) const {
    const nlohmann::json &a = doc["accessors"][accessor];
    const nlohmann::json &view = doc["bufferViews"][a["bufferView"].get<int>()];
    const int components = a["type"] == "VEC4" ? 4 : a["type"] == "VEC3" ? 3 : a["type"] == "VEC2" ? 2 : 1;
    T value;
    std::memcpy(&value, &bin[view.value("byteOffset", 0) + (index * components + component) * sizeof(T)], sizeof(T));
    return value;
  }
  Vec Vector(int accessor, size_t index) const {
    return {Element<float>(accessor, index, 0), Element<float>(accessor, index, 1), Element<float>(accessor, index, 2)};
  }
};

Glb ReadGlb(const std::string &path);

// Calls visit(world, primitive) for every primitive of every node's mesh,
// with the node's world matrix, from the scene's roots.
void ForEachPlacedPrimitive(const Glb &glb,
                            const std::function<void(const Affine &, const nlohmann::json &)> &visit);

// --- a 3MF file, through lib3mf ---

struct ThreeMfTriangle {
  std::array<Vec, 3> p;                        // corners placed by the build item's transform
  std::array<Rgba, 3> color;                   // each corner's colour, from its property or the object's
};

struct ThreeMfContent {
  std::string error;                           // "" when lib3mf read the file
  uint32_t unit = 0;                           // lib3mf's unit: 1 millimetre
  long items = 0;                              // build items
  long objects = 0;                            // mesh objects
  long materials = 0;                          // base materials of every group
  long manifold_items = 0;                     // build items whose object is manifold and oriented
  std::vector<std::string> part_numbers;       // of the build items, in order
  std::vector<ThreeMfTriangle> triangles;      // of every build item
};

ThreeMfContent ReadThreeMf(const std::string &path);

}  // namespace kavrel_test

#endif
