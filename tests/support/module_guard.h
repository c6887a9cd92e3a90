// For tests of the cipher module's one process-wide state: a progress sink that records what was
// drawn, and a guard that gives one test a fresh state, counts its yields and can abort at one.
#pragma once

#include <vector>

#include "core/yield.h"
#include "crypto/korva_state.h"

namespace vx::test {

// Fresh module state with a recording sink and a counting yield; restores both afterwards.
class ModuleGuard {
public:
    ModuleGuard() {
        korva::resetState();
        korva::state().sink = &sink;
        setYieldHook([this] {
            if (++yields >= m_abortAt && m_abortAt > 0) korva::state().AbortFlag = true;
        });
    }
    ~ModuleGuard() {
        setYieldHook({});
        korva::resetState();
        korva::state().sink = nullptr;
    }
    ModuleGuard(const ModuleGuard&) = delete;
    ModuleGuard& operator=(const ModuleGuard&) = delete;

    // Forgets the yields, the drawn percentages, the last progress value and any abort; then
    // sets the abort flag from the abortAt-th yield on (counted from 1; 0: never).
    void restart(int abortAt = 0) {
        yields = 0;
        m_abortAt = abortAt;
        sink.drawn.clear();
        korva::state().LastProgress = 0;
        korva::state().AbortFlag = false;
    }

    struct RecordingSink : korva::ProgressSink {
        void drawProgress(int percent) override { drawn.push_back(percent); }
        std::vector<int> drawn;
    } sink;
    int yields = 0;

private:
    int m_abortAt = 0;
};

}  // namespace vx::test
