// Scene files read with Coin3D for rendering: Inventor, VRML 1.0 and VRML97.
#ifndef KAVREL_TOOLS_FIDELITY_COIN_SCENE_H
#define KAVREL_TOOLS_FIDELITY_COIN_SCENE_H

#include <memory>
#include <string>

#include <Inventor/nodes/SoNode.h>

namespace kavrel::fidelity {

struct NodeUnref {
  void operator()(SoNode *node) const { node->unref(); }
};
using NodeRef = std::unique_ptr<SoNode, NodeUnref>;

// Initialises Coin3D with its node kits and draggers, which files may hold.
void InitCoin();

// The file's scene, with the file's own directory searched for textures
// and included files while it is read; null with Coin3D's message when it
// cannot be read. Cameras, VRML viewpoints and backgrounds are taken out:
// the renderer's camera and key background must be the only ones.
NodeRef ReadScene(const std::string &path, std::string *error);

}  // namespace kavrel::fidelity

#endif
