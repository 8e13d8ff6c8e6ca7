#include "geometry/shape_classes.h"
#include "state/state.h"

#include <Inventor/nodes/SoCone.h>
#include <Inventor/nodes/SoCube.h>
#include <Inventor/nodes/SoCylinder.h>
#include <Inventor/nodes/SoFaceSet.h>
#include <Inventor/nodes/SoIndexedFaceSet.h>
#include <Inventor/nodes/SoIndexedLineSet.h>
#include <Inventor/nodes/SoIndexedNurbsCurve.h>
#include <Inventor/nodes/SoIndexedNurbsSurface.h>
#include <Inventor/nodes/SoIndexedTriangleStripSet.h>
#include <Inventor/nodes/SoLineSet.h>
#include <Inventor/nodes/SoNurbsCurve.h>
#include <Inventor/nodes/SoNurbsSurface.h>
#include <Inventor/nodes/SoPointSet.h>
#include <Inventor/nodes/SoQuadMesh.h>
#include <Inventor/nodes/SoSphere.h>
#include <Inventor/nodes/SoText3.h>
#include <Inventor/nodes/SoTriangleStripSet.h>


namespace {

struct ShapeClassRow {
  SoType (*type)();
  const char *word;
};

// In flag-index order, then the line and point sets.
const ShapeClassRow kShapeClasses[kShapePointSet + 1] = {
    {&SoIndexedFaceSet::getClassTypeId, "IndexedFaceSet"},
    {&SoCube::getClassTypeId, "Cube"},
    {&SoCone::getClassTypeId, "Cone"},
    {&SoCylinder::getClassTypeId, "Cylinder"},
    {&SoSphere::getClassTypeId, "Sphere"},
    {&SoIndexedTriangleStripSet::getClassTypeId, "IndexedTriangleStripSet"},
    {&SoFaceSet::getClassTypeId, "FaceSet"},
    {&SoQuadMesh::getClassTypeId, "QuadMesh"},
    {&SoTriangleStripSet::getClassTypeId, "TriangleStripSet"},
    {&SoText3::getClassTypeId, "Text3"},
    {&SoNurbsCurve::getClassTypeId, "NurbsCurve"},
    {&SoNurbsSurface::getClassTypeId, "NurbsSurface"},
    {&SoIndexedNurbsCurve::getClassTypeId, "IndexedNurbsCurve"},
    {&SoIndexedNurbsSurface::getClassTypeId, "IndexedNurbsSurface"},
    {&SoLineSet::getClassTypeId, "LineSet"},
    {&SoIndexedLineSet::getClassTypeId, "IndexedLineSet"},
    {&SoPointSet::getClassTypeId, "PointSet"},
};

}  // namespace

ShapeClass FindShapeClass(const SoNode *node) {
  const SoType type = node->getTypeId();
  for (int i = 0; i < kShapeClassCount; ++i) {
    if (type == kShapeClasses[i].type()) return static_cast<ShapeClass>(i);
  }
  return kShapeUnsupported;
}

ShapeClass FindLineOrPointClass(const SoNode *node) {
  for (ShapeClass shape_class : {kShapeLineSet, kShapeIndexedLineSet, kShapePointSet}) {
    if (node->isOfType(kShapeClasses[shape_class].type())) return shape_class;
  }
  return kShapeUnsupported;
}

int CornersOf(ShapeClass shape_class) {
  return shape_class == kShapePointSet ? 1 : shape_class == kShapeLineSet || shape_class == kShapeIndexedLineSet ? 2 : 3;
}

SoType ShapeClassType(ShapeClass shape_class) { return kShapeClasses[shape_class].type(); }

bool IsNurbsSurfaceClass(ShapeClass shape_class) {
  return shape_class == kShapeNurbsSurface || shape_class == kShapeIndexedNurbsSurface;
}

const char *ShapeClassWord(ShapeClass shape_class) {
  return shape_class == kShapeUnsupported ? "Shape" : kShapeClasses[shape_class].word;
}

void GetShapeName(SbString &result, const SoNode *node) {
  NodeBaseName(result, node, ShapeClassWord(FindShapeClass(node)));
}
