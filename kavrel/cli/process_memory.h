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
//
// With huge pages in effect, large arrays are mapped on their own and
// given back when freed; with 4 KB pages (Windows, the restart skipped or
// failed, transparent huge pages turned off) they come from the
// large-block pool (kavrel/memory/), which hands freed pages out again
// instead of faulting fresh ones in. With huge pages the pool gains
// nothing on time, and its pages, kept for the next arrays, are not there
// for the page cache of the file being written.
void TuneProcessMemory(char **argv);

}  // namespace kavrel

#endif
