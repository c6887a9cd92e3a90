// The program's one yield: lets the event loop deliver pending events (socket data, clicks)
// in the middle of long work on the user-interface thread.
#pragma once

#include <functional>

namespace vx {

// Hands over to the Qt event loop, but only when the system's coarse clock has ticked since the
// last hand-over (every few milliseconds, 4 ms on this kernel), so a tight loop that yields
// often pays one cheap clock read per call and no event waits longer than one tick. Does
// nothing when no QCoreApplication exists.
// Re-entrant: handlers run inside it may start other work. With waitMs above 0 it always hands
// over and, when no event is pending, waits up to waitMs for one, so that a loop that waits for
// something to happen does not spin the processor.
void yieldToEvents(int waitMs = 0);

// Replaces the hand-over for tests (called on every yield, unthrottled); an empty function
// restores the normal behaviour.
void setYieldHook(std::function<void()> hook);

}  // namespace vx
