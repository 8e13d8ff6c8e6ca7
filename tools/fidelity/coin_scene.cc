#include "tools/fidelity/coin_scene.h"

#include <vector>

#include <Inventor/SoDB.h>
#include <Inventor/SoInput.h>
#include <Inventor/SoInteraction.h>
#include <Inventor/SoPath.h>
#include <Inventor/VRMLnodes/SoVRMLBackground.h>
#include <Inventor/VRMLnodes/SoVRMLImageTexture.h>
#include <Inventor/VRMLnodes/SoVRMLViewpoint.h>
#include <Inventor/actions/SoSearchAction.h>
#include <Inventor/errors/SoReadError.h>
#include <Inventor/lists/SoPathList.h>
#include <Inventor/nodekits/SoNodeKit.h>
#include <Inventor/nodes/SoCamera.h>
#include <Inventor/nodes/SoGroup.h>
#include <Inventor/nodes/SoSeparator.h>

namespace kavrel::fidelity {
namespace {

void CollectReadError(const SoError *error, void *data) {
  auto *messages = static_cast<std::string *>(data);
  if (!messages->empty()) *messages += "; ";
  *messages += error->getDebugString().getString();
}

std::string DirectoryOf(const std::string &path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
}

// Every node of the type, switched on or not, taken out of every group that
// holds it. A node inside a node kit's private parts stays.
void RemoveAll(SoNode *root, SoType type) {
  SoSearchAction search;
  search.setType(type, TRUE);
  search.setInterest(SoSearchAction::ALL);
  search.setSearchingAll(TRUE);
  search.apply(root);
  std::vector<std::pair<SoGroup *, SoNode *>> found;
  const SoPathList &paths = search.getPaths();
  for (int i = 0; i < paths.getLength(); ++i) {
    const SoFullPath *path = static_cast<const SoFullPath *>(paths[i]);
    if (path->getLength() < 2) continue;
    SoNode *parent = path->getNodeFromTail(1);
    if (!parent->isOfType(SoGroup::getClassTypeId())) continue;
    found.emplace_back(static_cast<SoGroup *>(parent), path->getTail());
  }
  for (auto &[group, node] : found) {
    for (int index; (index = group->findChild(node)) >= 0;) group->removeChild(index);
  }
}

}  // namespace

void InitCoin() {
  SoDB::init();
  SoNodeKit::init();
  SoInteraction::init();
  // VRML97 images are otherwise fetched at the first rendering, after the
  // picture has been taken and without the file's directory to look in.
  SoVRMLImageTexture::setDelayFetchURL(FALSE);
}

NodeRef ReadScene(const std::string &path, std::string *error) {
  std::string messages;
  SoErrorCB *previous_handler = SoReadError::getHandlerCallback();
  void *previous_data = SoReadError::getHandlerData();
  SoReadError::setHandlerCallback(CollectReadError, &messages);
  SoInput input;
  SoSeparator *root = nullptr;
  std::string directory = DirectoryOf(path);
  SoInput::addDirectoryFirst(directory.c_str());
  if (input.openFile(path.c_str(), TRUE)) root = SoDB::readAll(&input);
  SoInput::removeDirectory(directory.c_str());
  SoReadError::setHandlerCallback(previous_handler, previous_data);
  if (!root) {
    *error = "Coin3D cannot read it" + (messages.empty() ? std::string() : ": " + messages);
    return nullptr;
  }
  root->ref();
  RemoveAll(root, SoCamera::getClassTypeId());
  RemoveAll(root, SoVRMLViewpoint::getClassTypeId());
  RemoveAll(root, SoVRMLBackground::getClassTypeId());
  return NodeRef(root);
}

}  // namespace kavrel::fidelity
