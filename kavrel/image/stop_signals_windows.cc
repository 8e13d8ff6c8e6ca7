#include "kavrel/image/stop_signals.h"

namespace kavrel {

// Windows runs a console control handler on a thread of its own, never on
// top of the thread it stops: a handler that waits for the lock waits for
// another thread, which lets it go. Nothing to hold.
void HoldStopSignals() {}

void ReleaseStopSignals() {}

}  // namespace kavrel
