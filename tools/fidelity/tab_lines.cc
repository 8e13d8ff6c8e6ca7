#include "tools/fidelity/tab_lines.h"

#include <fstream>
#include <iostream>

namespace kavrel::fidelity {

std::vector<std::string> SplitTabs(const std::string &line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
    fields.push_back(line.substr(start, tab - start));
  }
  fields.push_back(line.substr(start));
  return fields;
}

bool ForEachTabLine(const std::string &path, const std::function<void(const std::vector<std::string> &)> &each,
                    std::string *error) {
  std::ifstream file;
  if (path != "-") {
    file.open(path);
    if (!file) {
      *error = path + ": cannot be read";
      return false;
    }
  }
  std::istream &in = path == "-" ? std::cin : file;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    each(SplitTabs(line));
  }
  return true;
}

int RunEachLine(const std::string &program, const std::string &path,
                const std::function<bool(const std::vector<std::string> &)> &each) {
  bool all = true;
  std::string error;
  bool read = ForEachTabLine(path, [&](const std::vector<std::string> &fields) { all = each(fields) && all; }, &error);
  if (!read) std::cerr << program << ": " << error << "\n";
  return read && all ? 0 : 1;
}

}  // namespace kavrel::fidelity
