#include "scene/name_values.h"

#include <cstring>

const char *const kCoinNameFields[5] = {"label", "name", "typeName", "childTypeNames", "containerTypeName"};

void NameValues::See(const char *word) {
  if (declaring_) declared_.insert(word);
  declaring_ = std::strcmp(word, "SFName") == 0 || std::strcmp(word, "MFName") == 0;
}

bool NameValues::NameFollows(const char *word) const {
  if (std::strcmp(word, "DEF") == 0 || std::strcmp(word, "USE") == 0 || declared_.count(word)) return true;
  for (const char *field : kCoinNameFields) {
    if (std::strcmp(word, field) == 0) return true;
  }
  return false;
}
