// VRML97 (.wrl) and X3D (.x3d) files as our writer writes them, read back
// into one tree of nodes for the tests: both encodings give the same tree,
// so one set of checks serves both. Not a general reader: no PROTOs,
// ROUTEs or scripts.
#ifndef KAVREL_TESTS_EXPORT_VRML_READER_H
#define KAVREL_TESTS_EXPORT_VRML_READER_H

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kavrel_test {

struct VrmlNode {
  std::string type;                            // "Transform"; for a USE, the type of the node it names
  std::string def;                             // its DEF name, "" when none
  std::string use;                             // the DEF name it USEs, "" when it is no USE
  // Value fields: numbers as written, booleans as "true"/"false", strings
  // without their quotes.
  std::map<std::string, std::vector<std::string>> values;
  std::vector<std::shared_ptr<VrmlNode>> children;  // the nodes of its node fields, in order

  // A value field's numbers; empty when it has none.
  std::vector<double> Numbers(const std::string &field) const;
  // Its first child of type, or null.
  const VrmlNode *Child(const std::string &type) const;
};

struct VrmlFile {
  std::string error;                           // why it could not be read; "" when read
  std::shared_ptr<VrmlNode> root;              // type "Scene": the top-level nodes are its children
  std::map<std::string, const VrmlNode *> defs;  // DEF name -> its node
  std::vector<std::string> def_order;          // DEF names in the order they are defined, repeats included

  // node itself, or the node its USE names.
  const VrmlNode &Resolve(const VrmlNode &node) const;
};

// The encoding by the extension: .x3d is XML, anything else classic VRML97.
VrmlFile ReadVrmlFile(const std::string &path);

// Every node of the tree below node (USEs as they stand), depth first.
std::vector<const VrmlNode *> AllNodes(const VrmlNode &node);

// What the sibling checks of a validator find wrong, one line each: DEF
// names repeated or not valid identifiers, a USE before its DEF, a face
// that is not a triangle or a polyline that is not a segment ended by -1,
// an index outside its Coordinate, a Normal, TextureCoordinate or Color
// with another count than the Coordinate, a texture URL without a file in
// directory.
std::vector<std::string> VrmlProblems(const VrmlFile &file, const std::string &directory);

// What the file holds, under the names of kavrel-convert's summary line:
// nodes (Transforms), meshes (IndexedFaceSets, IndexedLineSets and
// PointSets written out), their triangles, segments ("lines") and points
// (named only when there are any), materials, textures (ImageTextures),
// lights and cameras (Viewpoints), each counted once however often it is
// USEd.
std::map<std::string, long> VrmlCounts(const VrmlFile &file);

// Triangles as drawn: every IndexedFaceSet's once per time its Shape is
// reached, USEs and all, hidden choices of a Switch included.
long PlacedTriangles(const VrmlFile &file);

}  // namespace kavrel_test

#endif
