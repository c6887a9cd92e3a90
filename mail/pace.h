// Time for the SMTP dialogues: a monotonic clock in seconds that tests may run faster, the
// Pause that paces the relay dialogue, and the step that lets window and socket events run
// while a dialogue waits on the user-interface thread.
#pragma once

#include <functional>

namespace vx {

// Seconds on a clock that never jumps back; only differences between readings matter.
using SecondsClock = std::function<double()>;

// The steady clock, running `speed` times faster than real time (tests shorten every pause and
// every time limit this way without changing how they are counted).
SecondsClock steadySeconds(double speed = 1.0);

// Lets pending events run (socket data, clicks, timers) through the program's one yield,
// waiting a few milliseconds at most when none is pending, so that waiting loops do not spin
// the processor. Handlers run inside.
void letEventsRun();

// Waits while events run: start = the clock rounded to the nearest whole second; returns once
// the clock is at least `seconds` past start. So a pause of n seconds lasts n - 0.5 to n + 0.5.
void Pause(double seconds, const SecondsClock& clock);

}  // namespace vx
