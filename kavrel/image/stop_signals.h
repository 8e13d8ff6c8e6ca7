// Keeps the signals that end the process (Ctrl-C, termination, hang-up)
// away from the calling thread while it holds a lock their handlers take
// too, so a handler never waits for the thread it interrupted.
#ifndef KAVREL_IMAGE_STOP_SIGNALS_H
#define KAVREL_IMAGE_STOP_SIGNALS_H

namespace kavrel {

// Blocks the stop signals in the calling thread; calls do not nest.
void HoldStopSignals();
// Delivers them again as before HoldStopSignals.
void ReleaseStopSignals();

}  // namespace kavrel

#endif
