// Collects the values of the "filename", "filenames" and "name" fields from
// Inventor's binary format as it streams past. There every name is written
// as a big-endian 32-bit length and its characters padded to four bytes,
// and a multiple-value field as a count followed by its values.
#ifndef SCENE_BINARY_FILE_NAMES_H
#define SCENE_BINARY_FILE_NAMES_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class BinaryFileNames {
 public:
  void Feed(const char *bytes, size_t count);
  std::vector<std::string> Finish() { return std::move(names_); }

 private:
  void Take(char c);
  void Match();
  bool Word(uint32_t *value);

  enum class Step { kSearch, kCount, kLength, kName };
  Step step_ = Step::kSearch;
  std::string window_;   // the last bytes seen, for the field names
  std::string pending_;  // bytes of the word or name being read
  uint32_t values_left_ = 0, name_length_ = 0;
  std::vector<std::string> names_;
};

#endif
