// Which texture image files the host may open: regular files only (a FIFO
// would block the open, a device never ends), and, when texture roots are
// set, only files inside them or made by this run.
#ifndef KAVREL_IMAGE_TEXTURE_ACCESS_H
#define KAVREL_IMAGE_TEXTURE_ACCESS_H

#include <string>
#include <vector>

namespace kavrel {

// Directory trees that texture reads are confined to, resolved (symbolic
// links, "..") when they are set.
class TextureRoots {
 public:
  // False with a message when a root is not an existing directory (the
  // roots stay as they were). An empty list lifts the confinement.
  bool Set(const std::vector<std::string> &roots, std::string *error);
  bool empty() const { return resolved_.empty(); }
  // True when canonical (a CanonicalPath) lies inside one of the roots.
  bool Contain(const std::string &canonical) const;

 private:
  std::vector<std::string> resolved_;          // each ending with '/'
};

// True when path may be opened under roots; otherwise false with the
// reason in *reason. Looks at the file without opening it.
bool TextureFileReadable(const TextureRoots &roots, const std::string &path, std::string *reason);

}  // namespace kavrel

#endif
