// Whether a standard stream is a console a person watches: progress is
// redrawn in place there, questions are asked there, and elsewhere the
// output is buffered in blocks as for any file.
#ifndef KAVREL_CLI_CONSOLE_STREAM_H
#define KAVREL_CLI_CONSOLE_STREAM_H

namespace kavrel {

// fd is 0, 1 or 2. A terminal on POSIX systems; on Windows a console, which
// the NUL device is not (the C library counts every character device as a
// terminal and then writes to it one character at a time).
bool IsConsole(int fd);

}  // namespace kavrel

#endif
