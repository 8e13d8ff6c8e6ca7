#include "kavrel/cli/texture_directory.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "kavrel/cli/file_system.h"
#include "kavrel/cli/stored_options.h"
#include "kavrel/image/run_files.h"

namespace kavrel {
namespace {

// The plug-in joins a directory and a file name with no separator between.
bool IsDirectoryKey(const std::string &key) { return key == "txtr_save_dir" || key == "txtr_ref_dir"; }

bool EndsWithSeparator(const std::string &directory) {
  return !directory.empty() && directory.find_last_of(kPathSeparators) == directory.size() - 1;
}

std::string WithSeparator(std::string directory) {
  if (!directory.empty() && !EndsWithSeparator(directory)) directory += '/';
  return directory;
}

bool UserGaveSaveDirectory(const OptionTokens &tokens) {
  for (const auto &token : tokens) {
    if (token.first == "txtr_save_dir" || token.first == "txtr_save_dir_same") return true;
  }
  return false;
}

// "out/chair.json" -> "/abs/out/chair_textures/".
std::string BesideOutput(const std::string &output) {
  std::string stem = AbsolutePath(output);
  std::string::size_type slash = stem.find_last_of(kPathSeparators);
  std::string::size_type dot = stem.find_last_of('.');
  if (dot != std::string::npos && dot > slash + 1) stem.erase(dot);
  return stem + "_textures/";
}

bool MakeTemporaryTextureDirectory(TextureDirectory *textures, std::string *error) {
  std::string pattern;
  if (!MakeTemporaryDirectory("kavrel-textures", &pattern)) {
    *error = "cannot make a temporary folder for extracted textures: " + std::string(std::strerror(errno));
    return false;
  }
  NoteRunDirectory(pattern);
  textures->path = pattern + "/";
  textures->temporary = true;
  return true;
}

bool MakeDirectoryBesideOutput(const std::string &output, TextureDirectory *textures, std::string *error) {
  const std::string path = BesideOutput(output);
  if (MakeDirectory(path)) {
    NoteRunDirectory(path);
  } else if (struct stat info; errno != EEXIST || stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    *error = "cannot make the texture folder '" + path + "': " +
             (errno == EEXIST ? std::string("a file of that name exists") : std::strerror(errno));
    return false;
  }
  textures->path = path;
  textures->temporary = false;
  return true;
}

// Directories from the stored options go out again with their separator,
// so a hand-edited file does not make the plug-in glue names onto them.
void RepairStoredDirectories(const StoredOptions &stored, OptionTokens *tokens) {
  for (const char *key : {"txtr_save_dir", "txtr_ref_dir"}) {
    const std::string value = stored.Directory(key);
    if (!value.empty() && !EndsWithSeparator(value)) tokens->emplace_back(key, value + "/");
  }
}

}  // namespace

bool OutputEmbedsImages(ExportFormat format) { return format != ExportFormat::kJson; }

bool PrepareRunTokens(const ConvertCommand &command, const std::string &support_dir, const std::string &output,
                      OptionTokens *tokens, TextureDirectory *textures, std::string *error) {
  *textures = TextureDirectory();
  tokens->clear();
  const StoredOptions stored(support_dir);
  RepairStoredDirectories(stored, tokens);
  if (!UserGaveSaveDirectory(command.option_tokens) && !stored.ChoosesSaveDirectory()) {
    ExportFormat format = ExportFormat::kGlb;
    ExportFormatFromPath(output, &format);
    bool made = OutputEmbedsImages(format) ? MakeTemporaryTextureDirectory(textures, error)
                                           : MakeDirectoryBesideOutput(output, textures, error);
    if (!made) return false;
    tokens->emplace_back("txtr_save_dir_same", "0");
    tokens->emplace_back("txtr_save_dir", textures->path);
  }
  for (const auto &token : command.option_tokens) {
    tokens->emplace_back(token.first, IsDirectoryKey(token.first) ? WithSeparator(token.second) : token.second);
  }
  return true;
}

}  // namespace kavrel
