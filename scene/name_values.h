// Which values Coin3D turns into one of its names (SbName), whose table
// overruns its memory on a name of about 65,500 characters: DEF and USE
// names, the values of its SFName and MFName fields, and the values of
// fields a file declares of those types for its own nodes. Other strings
// (Info, Text3, file names) may be of any length.
#ifndef SCENE_NAME_VALUES_H
#define SCENE_NAME_VALUES_H

#include <string>
#include <unordered_set>

// Coin3D 4.0's SFName and MFName fields, by field name, across all its
// node and engine classes.
extern const char *const kCoinNameFields[5];

class NameValues {
 public:
  // Follows the words of the input: after "SFName" or "MFName" (a field
  // declaration) the next word names a field whose values are names.
  void See(const char *word);
  // True when the value after word (a keyword or a field name) is a name.
  bool NameFollows(const char *word) const;
  // True while no field is declared a name field nor about to be: a word
  // that is no keyword (a number) then changes nothing here.
  bool Quiet() const { return !declaring_ && declared_.empty(); }

 private:
  std::unordered_set<std::string> declared_;
  bool declaring_ = false;
};

#endif
