// How a conversion process sets up its memory allocator.
#ifndef KAVREL_CLI_PROCESS_MEMORY_H
#define KAVREL_CLI_PROCESS_MEMORY_H

namespace kavrel {

// Call first thing in main. A conversion fills and frees mesh arrays of
// hundreds of megabytes. On Linux, arrays of a megabyte and more get
// mappings of their own, given back when freed, and small blocks stay in a
// heap that is slow to shrink. Pages are the system's default (4 KB where
// transparent huge pages are left to madvise): on the virtual machines
// measured, a fresh huge page costs anything from 0.1 to 5 ms to fault in
// (memory the machine had handed back to its host), where 4 KB pages
// fault in at a steady 4 GB/s. The large-block pool (kavrel/memory/),
// which hands freed space out again, gained nothing on time there and held
// more at the peak, so kavrel-convert uses it on Linux only when
// KAVREL_LARGE_BLOCK_POOL=1 is set (for comparisons, and the test that
// its files are the same); on Windows it always does.
void TuneProcessMemory();

}  // namespace kavrel

#endif
