// The floor kavrel-convert is measured against: read a file with Coin3D
// and collect every triangle's corners (position, normal, texture
// coordinate) through SoCallbackAction, nothing more.
#include <Inventor/SoDB.h>
#include <Inventor/SoInput.h>
#include <Inventor/SoInteraction.h>
#include <Inventor/SoPrimitiveVertex.h>
#include <Inventor/actions/SoCallbackAction.h>
#include <Inventor/nodekits/SoNodeKit.h>
#include <Inventor/nodes/SoSeparator.h>
#include <Inventor/nodes/SoShape.h>

#include <cstdio>
#include <vector>

namespace {

std::vector<float> corners;
size_t collapsed = 0;  // triangles with two corners at one position

void AddCorner(const SoPrimitiveVertex *vertex) {
  const SbVec3f &point = vertex->getPoint();
  const SbVec3f &normal = vertex->getNormal();
  const SbVec4f &texture = vertex->getTextureCoords();
  corners.insert(corners.end(),
                 {point[0], point[1], point[2], normal[0], normal[1], normal[2], texture[0], texture[1]});
}

void CollectTriangle(void *, SoCallbackAction *, const SoPrimitiveVertex *a, const SoPrimitiveVertex *b,
                     const SoPrimitiveVertex *c) {
  AddCorner(a);
  AddCorner(b);
  AddCorner(c);
  const SbVec3f &pa = a->getPoint(), &pb = b->getPoint(), &pc = c->getPoint();
  if (pa == pb || pb == pc || pa == pc) ++collapsed;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
    return 2;
  }
  SoDB::init();
  SoNodeKit::init();
  SoInteraction::init();
  SoInput input;
  if (!input.openFile(argv[1], FALSE)) return 1;
  SoSeparator *root = SoDB::readAll(&input);
  if (root == nullptr) return 1;
  root->ref();
  SoCallbackAction action;
  action.addTriangleCallback(SoShape::getClassTypeId(), CollectTriangle, nullptr);
  action.apply(root);
  std::printf("%zu triangles, %zu with distinct corners\n", corners.size() / 24, corners.size() / 24 - collapsed);
  root->unref();
  return 0;
}
