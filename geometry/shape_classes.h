// The fourteen shape classes that become meshes, recognised by exact type,
// and the line and point sets.
#ifndef GEOMETRY_SHAPE_CLASSES_H
#define GEOMETRY_SHAPE_CLASSES_H

#include <Inventor/SbString.h>
#include <Inventor/SoType.h>

class SoNode;

// Index of the class's enable flag in shape_type_enabled.
enum ShapeClass {
  kShapeIndexedFaceSet = 0,
  kShapeCube = 1,
  kShapeCone = 2,
  kShapeCylinder = 3,
  kShapeSphere = 4,
  kShapeIndexedTriangleStripSet = 5,
  kShapeFaceSet = 6,
  kShapeQuadMesh = 7,
  kShapeTriangleStripSet = 8,
  kShapeText3 = 9,
  kShapeNurbsCurve = 10,
  kShapeNurbsSurface = 11,
  kShapeIndexedNurbsCurve = 12,
  kShapeIndexedNurbsSurface = 13,
  // Carried only with the import_lines_and_points token; they have no
  // enable flag.
  kShapeLineSet = 14,
  kShapeIndexedLineSet = 15,
  kShapePointSet = 16,
  kShapeUnsupported = -1
};

// The node's class, or kShapeUnsupported (subclasses included).
ShapeClass FindShapeClass(const SoNode *node);

// kShapeLineSet, kShapeIndexedLineSet or kShapePointSet (subclasses
// included), else kShapeUnsupported.
ShapeClass FindLineOrPointClass(const SoNode *node);

// Corners of the primitives Coin3D delivers for the class: 2 for line
// sets, 1 for point sets, 3 for the rest.
int CornersOf(ShapeClass shape_class);

// The NURBS surface classes, which our own tessellator handles.
bool IsNurbsSurfaceClass(ShapeClass shape_class);

// The Coin3D type of a supported class.
SoType ShapeClassType(ShapeClass shape_class);

// The class word: the base name of an unnamed shape.
const char *ShapeClassWord(ShapeClass shape_class);

// The node's name, else its class word ("Shape" for any other class).
void GetShapeName(SbString &result, const SoNode *node);

#endif
