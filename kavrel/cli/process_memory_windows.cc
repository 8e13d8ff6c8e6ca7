#include "kavrel/cli/process_memory.h"

namespace kavrel {

// The Windows heap keeps freed blocks for reuse on its own, and has no
// start-up switch for large pages: nothing to tune.
void TuneProcessMemory(char **) {}

}  // namespace kavrel
