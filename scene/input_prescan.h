// Coin3D's reader recurses once per nesting level and crashes on a name of
// about 65,500 characters or more. ASCII input is scanned before Coin3D
// sees it, as a stream (a fraction of what parsing costs), for both.
#ifndef SCENE_INPUT_PRESCAN_H
#define SCENE_INPUT_PRESCAN_H

#include <cstdint>
#include <string>

// Longest word or quoted string accepted, in characters.
constexpr uint64_t kMaxTokenLength = 65000;
// Deepest nesting of nodes accepted, in the file's braces and in the graph
// that DEF/USE make of them; the conversion's stack is sized for it.
constexpr uint64_t kMaxNestingDepth = 100000;

// "" when the input may go to Coin3D's reader, else what is wrong with it.
// Plain and gzip-compressed ASCII files are scanned (zlib reads both);
// binary files, whose names and nesting are counted rather than delimited,
// are not: their nesting is checked once read, within the large stack.
std::string PrescanInput(const char *path);

#endif
