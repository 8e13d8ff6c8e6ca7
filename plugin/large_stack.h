// Coin3D's reader and its traversal recurse once per nesting level of the
// scene graph; the host's thread may have a stack of a few megabytes. The
// conversion runs on a thread of its own with a large stack while the
// host's thread waits, so the host still sees one synchronous call.
#ifndef PLUGIN_LARGE_STACK_H
#define PLUGIN_LARGE_STACK_H

#include <cstddef>
#include <functional>

// Enough for kMaxNestingDepth levels of Coin3D's reader and traversal.
constexpr size_t kConversionStackBytes = size_t{512} << 20;

// Runs work on a new thread with that stack and waits for it. Whatever work
// throws (the abort of a level-5 error included) is rethrown on the calling
// thread. Runs work on the calling thread when no thread can be made.
void RunOnLargeStack(const std::function<void()> &work);

#endif
