// Test helpers for the module state: a progress sink that records what was drawn, and a guard
// that resets the module state, the yield hook and the sink around one test.
#pragma once

#include <functional>
#include <vector>

#include "core/yield.h"
#include "crypto/korva_state.h"

namespace vx::test {

class RecordingSink : public korva::ProgressSink {
public:
    void drawProgress(int percent) override { drawn.push_back(percent); }
    std::vector<int> drawn;
};

// Fresh module state with a recording sink; restores a plain yield afterwards.
class ModuleGuard {
public:
    ModuleGuard() {
        korva::state().sink = &sink;
        korva::resetState();
        setYieldHook({});
    }
    ~ModuleGuard() {
        setYieldHook({});
        korva::resetState();
        korva::state().sink = nullptr;
    }
    ModuleGuard(const ModuleGuard&) = delete;
    ModuleGuard& operator=(const ModuleGuard&) = delete;

    // Sets the abort flag at the n-th yield (1-based) from now on.
    void abortAtYield(int n) {
        setYieldHook([this, n] {
            if (++yields >= n) korva::state().AbortFlag = true;
        });
    }
    // Counts yields without aborting.
    void countYields() {
        setYieldHook([this] { ++yields; });
    }

    RecordingSink sink;
    int yields = 0;
};

}  // namespace vx::test
