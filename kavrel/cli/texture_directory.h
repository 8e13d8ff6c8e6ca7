// Where the images embedded in an input are extracted, and the run-time
// tokens that tell the plug-in. Left alone, the plug-in writes them beside
// the input, over any file of the same name; the command gives it a
// directory of its own instead, unless the user chose one.
#ifndef KAVREL_CLI_TEXTURE_DIRECTORY_H
#define KAVREL_CLI_TEXTURE_DIRECTORY_H

#include <string>
#include <utility>
#include <vector>

#include "kavrel/cli/command_line.h"
#include "kavrel/host.h"

namespace kavrel {

using OptionTokens = std::vector<std::pair<std::string, std::string>>;

struct TextureDirectory {
  std::string path;                            // the command's own directory; "" when the user chose one
  bool temporary = false;                      // removed with its images after the run
};

// True when the output format carries its images inside (.glb, .gltf), so
// extracted files are needed only while the run lasts; a .json dump names
// them by path.
bool OutputEmbedsImages(ExportFormat format);

// The tokens for one conversion: the user's -O tokens, every directory
// value ending with '/', and, before them, the command's own texture
// directory when neither those tokens nor the stored options in
// support_dir name one. The directory is made here (and listed with the
// run's files when it is new). False with a message when it cannot be made.
bool PrepareRunTokens(const ConvertCommand &command, const std::string &support_dir, const std::string &output,
                      OptionTokens *tokens, TextureDirectory *textures, std::string *error);

}  // namespace kavrel

#endif
