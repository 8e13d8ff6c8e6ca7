// What the material and light scenarios need beyond the plug-in's
// conversion scenarios: journal lookups by entity name and image files.
#ifndef TESTS_MATERIALS_SCENARIO_SUPPORT_H
#define TESTS_MATERIALS_SCENARIO_SUPPORT_H

#include <cstdint>
#include <string>
#include <vector>

#include "kavrel/host.h"
#include "tests/plugin/conversion_scenario.h"

namespace material_test {

// Journal entries of call whose first string is name (all of them when name is empty).
std::vector<const kavrel::JournalEntry *> CallsFor(const std::string &call, const std::string &name = "");
// Their readable one-line forms.
std::vector<std::string> Lines(const std::string &call, const std::string &name = "");

// An uncompressed 8-bit SGI image from interleaved bytes.
bool WriteSgiImage(const std::string &path, int width, int height, int components,
                   const std::vector<uint8_t> &bytes);
// An 8-bit TIFF read back: size, samples per pixel and the interleaved bytes.
bool ReadTiff(const std::string &path, int *width, int *height, int *components, std::vector<uint8_t> *bytes);

}  // namespace material_test

#endif
