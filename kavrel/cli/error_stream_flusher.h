// Standard error into a file or a pipe, written in blocks. A system call
// per progress line cost a tenth of the conversion of 20,000 small shapes;
// buffered, the lines go out together, and a thread of its own flushes them
// at most a tenth of a second after they were written, so that a log being
// followed stays current even while the conversion is stuck in a long read.
#ifndef KAVREL_CLI_ERROR_STREAM_FLUSHER_H
#define KAVREL_CLI_ERROR_STREAM_FLUSHER_H

namespace kavrel {

// Makes standard error fully buffered; before anything is written to it.
void BufferErrorStream();

// A line was written to standard error that may wait for the flusher.
void ErrorLineWritten();

}  // namespace kavrel

#endif
