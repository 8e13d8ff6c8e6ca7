#include "kavrel/cli/process_memory.h"

namespace kavrel {

// Large blocks come from the large-block pool, the rest from the Windows
// heap, which keeps freed blocks for reuse on its own: nothing to tune.
void TuneProcessMemory() {}

}  // namespace kavrel
