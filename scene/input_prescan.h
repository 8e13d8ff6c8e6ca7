// Coin3D's reader recurses once per nesting level and crashes on a name of
// about 65,500 characters or more. ASCII input is scanned before Coin3D
// sees it, as a stream (a fraction of what parsing costs), for both: its
// unquoted words are what the reader takes as names. The
// scan also collects the file names the reader itself opens while reading
// (texture and image files, included files), so that none of them is a
// FIFO or a device it would block on (scene/referenced_files.h).
#ifndef SCENE_INPUT_PRESCAN_H
#define SCENE_INPUT_PRESCAN_H

#include <cstdint>
#include <string>
#include <vector>

// Longest name accepted, in characters (quoted strings may be longer).
constexpr uint64_t kMaxTokenLength = 65000;
// Deepest nesting of nodes accepted, in the file's braces and in the graph
// that DEF/USE make of them; the conversion's stack is sized for it.
constexpr uint64_t kMaxNestingDepth = 100000;

struct InputPrescan {
  std::string problem;                    // "" when the input may go to Coin3D's reader
  std::vector<std::string> file_names;    // values of "filename", "filenames" and "name" fields
};

// Plain and gzip-compressed ASCII files are scanned (zlib reads both);
// binary files, whose names and nesting are counted rather than delimited,
// only for their file names: their names and nesting are guarded while
// Coin3D reads them (scene/guarded_input.h).
InputPrescan PrescanInput(const char *path);

#endif
