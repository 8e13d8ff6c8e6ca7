// A face shape drawn as lines or points (DrawStyle LINES or POINTS),
// carried as what the draw style shows: the buffer holds the shape's
// triangles, and its polygons become their edges or corners.
#ifndef GEOMETRY_SHAPE_OUTLINE_H
#define GEOMETRY_SHAPE_OUTLINE_H

#include <cstdint>

struct ShapeAccumulator;

// Writes the buffer's polygons as segments or points between the stored
// triangle corners and sets its polygon and index counts; returns the
// polygons written.
// - Lines: an edge that two triangles of one face share lies inside that
//   face (the tessellation's diagonal) and is left out; an edge of several
//   faces is written once.
// - Points: each distinct corner position once.
int32_t IndexOutline(const ShapeAccumulator &shape);

#endif
