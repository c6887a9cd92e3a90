// Module state of the cipher.
#include "crypto/korva_state.h"

#include <cmath>

#include "core/yield.h"

namespace vx::korva {

ModuleState& state() {
    static ModuleState s;
    return s;
}

void resetState() {
    ProgressSink* sink = state().sink;
    state() = ModuleState{};
    state().sink = sink;
}

void DrawProgress(double percent) {
    if (!state().sink) return;
    const int p = percent > 100 ? 100 : static_cast<int>(std::nearbyint(percent));
    state().sink->drawProgress(p < 0 ? 0 : p);
}

bool checkpoint(double percent) {
    yieldToEvents();
    ModuleState& s = state();
    if (s.AbortFlag) return false;
    const int p = static_cast<int>(std::nearbyint(percent));
    if (p != s.LastProgress) {
        s.LastProgress = p;
        DrawProgress(p);
    }
    return true;
}

}  // namespace vx::korva
