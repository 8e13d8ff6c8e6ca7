#include "kavrel/cli/stored_options.h"

#include <cstdlib>
#include <fstream>

namespace kavrel {
namespace {

std::string Trimmed(const std::string &text) {
  const char *blanks = " \t\r\n";
  std::string::size_type first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace

StoredOptions::StoredOptions(const std::string &support_dir) {
  std::ifstream file(support_dir + "vorlix.ini");
  for (std::string line; std::getline(file, line);) {
    line = Trimmed(line);
    std::string::size_type equals = line.find('=');
    if (line.empty() || line[0] == '#' || line[0] == '[' || equals == std::string::npos) continue;
    values_[Trimmed(line.substr(0, equals))] = Trimmed(line.substr(equals + 1));
  }
}

std::string StoredOptions::Directory(const std::string &key) const {
  auto it = values_.find(key);
  if (it == values_.end() || it->second == "\"\"") return "";
  return it->second;
}

bool StoredOptions::ChoosesSaveDirectory() const {
  auto same = values_.find("txtr_save_dir_same");
  return same != values_.end() && std::atoi(same->second.c_str()) == 0 && !Directory("txtr_save_dir").empty();
}

}  // namespace kavrel
