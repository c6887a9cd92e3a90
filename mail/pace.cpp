// Clock, event step and Pause.
#include "mail/pace.h"

#include "core/yield.h"

#include <chrono>
#include <cmath>

namespace vx {

SecondsClock steadySeconds(double speed) {
    return [speed] {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        return speed * std::chrono::duration<double>(now).count();
    };
}

void letEventsRun() { yieldToEvents(5); }

void Pause(double seconds, const SecondsClock& clock) {
    const double start = std::nearbyint(clock());
    while (clock() - start < seconds) letEventsRun();
}

}  // namespace vx
