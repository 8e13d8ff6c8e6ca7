// How a shape's colours travel to the host: one surface, vertex colours,
// a surface per face, or the default material.
#ifndef GEOMETRY_SHAPE_COLORS_H
#define GEOMETRY_SHAPE_COLORS_H

#include <cstdint>

class SoState;

// Sets material_binding, material_color_count, colors_from_emissive,
// single_material, vertex_color_count and per_face_materials of the shape
// accumulator for a shape whose primitives have the given number of
// corners in all (three per triangle).
void ClassifyShapeColors(SoState *traversal, int32_t corners);

#endif
