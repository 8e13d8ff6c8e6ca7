// The options the plug-in keeps in its preferences file, as far as the
// command needs them: whether they name a directory for extracted textures.
#ifndef KAVREL_CLI_STORED_OPTIONS_H
#define KAVREL_CLI_STORED_OPTIONS_H

#include <map>
#include <string>

namespace kavrel {

class StoredOptions {
 public:
  // Reads support_dir + "vorlix.ini"; without the file nothing is stored.
  explicit StoredOptions(const std::string &support_dir);

  // The directory stored under key; "" when none (the file writes none as "").
  std::string Directory(const std::string &key) const;
  // True when the stored options send extracted textures to a directory of
  // the user's (txtr_save_dir_same 0 and txtr_save_dir set).
  bool ChoosesSaveDirectory() const;

 private:
  std::map<std::string, std::string> values_;
};

}  // namespace kavrel

#endif
