// Helpers for the codec tests: a progress sink that records what is drawn, a yield counter that
// can set the abort flag at a chosen yield, and seeded test data.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <random>
#include <vector>

#include "core/yield.h"
#include "crypto/korva_state.h"
#include "sample_data.h"

namespace vx::korva::testing {

class RecordingSink : public ProgressSink {
public:
    void drawProgress(int percent) override { drawn.push_back(percent); }
    std::vector<int> drawn;
};

// Installs a counting yield hook and a recording sink on a fresh module state; restores both on
// destruction. abortAt(n) makes the n-th yield (counted from 1) set the abort flag.
class ModuleHarness {
public:
    ModuleHarness() {
        resetState();
        state().sink = &sink;
        setYieldHook([this] {
            ++yields;
            if (yields == m_abortAt) state().AbortFlag = true;
        });
    }
    ~ModuleHarness() {
        setYieldHook({});
        state().sink = nullptr;
        resetState();
    }
    void abortAt(int n) { m_abortAt = n; }

    RecordingSink sink;
    int yields = 0;

private:
    int m_abortAt = -1;
};

using sample::englishLikeText;
using sample::randomBytes;

}  // namespace vx::korva::testing
