// How a conversion process sets up its memory allocator.
#ifndef KAVREL_CLI_PROCESS_MEMORY_H
#define KAVREL_CLI_PROCESS_MEMORY_H

namespace kavrel {

// Call first thing in main. A conversion fills and frees mesh arrays of
// hundreds of megabytes; on virtual machines a page fault costs several
// microseconds, so faulting them in 4 KB at a time can take longer than
// the conversion itself. This has the allocator's memory backed by
// transparent huge pages, large arrays in mappings of their own (see the
// source for why) and small blocks in a heap that is slow to shrink. glibc
// only offers huge pages through a tunable read at start-up, so the
// process starts itself again once with the tunable added to its
// environment (when that fails, it simply runs on without it). Setting
// KAVREL_SMALL_PAGES in the environment skips the restart.
void TuneProcessMemory(char **argv);

}  // namespace kavrel

#endif
