// What the command asks of the file system where POSIX systems and Windows
// answer differently: separators, absolute paths, new directories, whether
// two names are one file, who may write.
#ifndef KAVREL_CLI_FILE_SYSTEM_H
#define KAVREL_CLI_FILE_SYSTEM_H

#include <string>

namespace kavrel {

// The characters that end a directory part of a path: "/", on Windows "/\".
extern const char kPathSeparators[];

// path made absolute against the working directory; unchanged when it is.
std::string AbsolutePath(const std::string &path);

// Creates the directory path (its parent must exist); false with errno set.
bool MakeDirectory(const std::string &path);

// Creates a new, empty directory NAME-XXXXXX in the system's temporary
// folder and writes its path (no trailing separator) to *path; false with
// errno set.
bool MakeTemporaryDirectory(const std::string &name, std::string *path);

// True when a and b both exist and are the same file, whatever their names.
bool SameFile(const std::string &a, const std::string &b);

// True when new files may be made in directory and renamed there.
bool DirectoryWritable(const std::string &directory);

// True when the file at path exists and its owner or its attributes forbid writing it.
bool FileReadOnly(const std::string &path);

}  // namespace kavrel

#endif
