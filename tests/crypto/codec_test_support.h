// Helpers for the codec tests: a progress sink that records what is drawn, a yield counter that
// can set the abort flag at a chosen yield, and seeded test data.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <random>
#include <vector>

#include "core/yield.h"
#include "crypto/korva_state.h"

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

inline QByteArray randomBytes(qsizetype n, std::uint32_t seed) {
    std::mt19937 rng(seed);
    QByteArray out(n, Qt::Uninitialized);
    for (auto& c : out) c = static_cast<char>(rng() & 0xFF);
    return out;
}

// Words drawn with English-like frequencies, separated by blanks and the odd line break.
inline QByteArray englishLikeText(qsizetype n, std::uint32_t seed) {
    static const char* const words[] = {
        "the", "of", "and", "to", "in", "a", "is", "that", "for", "it", "as", "was", "with",
        "be", "by", "on", "not", "he", "this", "are", "or", "his", "from", "at", "which",
        "but", "have", "an", "had", "they", "you", "were", "their", "one", "all", "we", "can",
        "her", "has", "there", "been", "if", "more", "when", "will", "would", "who", "so",
        "no", "Archive", "Transfer", "folder,", "server.", "upload", "message", "quickly;",
        "encrypted", "between", "(with", "numbers", "1998", "42", "recipient's", "download"};
    constexpr int kWords = sizeof(words) / sizeof(words[0]);
    std::mt19937 rng(seed);
    std::geometric_distribution<int> pick(0.08);
    QByteArray out;
    out.reserve(n + 16);
    while (out.size() < n) {
        out += words[pick(rng) % kWords];
        out += (rng() % 13 == 0) ? "\r\n" : " ";
    }
    out.truncate(n);
    return out;
}

}  // namespace vx::korva::testing
