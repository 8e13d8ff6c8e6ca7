// Coin3D's reader and its traversal recurse once per nesting level of the
// scene graph, and the host's thread may have a stack of a few megabytes.
// The conversion runs on a large stack of its own, but on the host's own
// thread: every host call (abort polls, message boxes owned by the host's
// windows) still comes from the thread that called the entry point, as the
// host expects of a synchronous call.
#ifndef SCENE_LARGE_STACK_H
#define SCENE_LARGE_STACK_H

#include <cstddef>
#include <functional>

// Enough for kMaxNestingDepth levels of Coin3D's reader and traversal.
constexpr size_t kConversionStackBytes = size_t{512} << 20;

// Runs work on the calling thread on a stack of that size and returns when
// it is done. Whatever work throws (the abort of a level-5 error included)
// is rethrown on the caller's stack. False, with work not run, when no such
// stack could be made.
bool RunOnLargeStack(const std::function<void()> &work);

// Bytes of the large stack left below the caller's frame while work runs on
// it; SIZE_MAX elsewhere.
size_t LargeStackLeft();

#endif
