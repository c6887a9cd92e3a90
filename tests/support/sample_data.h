// Seeded sample inputs shared by the codec tests and benchmarks: English-like text and uniform
// random bytes.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <random>

namespace vx::sample {

// Words with English-like frequencies, blanks and the odd line break.
inline QByteArray englishLikeText(qsizetype n, std::uint32_t seed = 1) {
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

inline QByteArray randomBytes(qsizetype n, std::uint32_t seed = 2) {
    std::mt19937 rng(seed);
    QByteArray out(n, Qt::Uninitialized);
    for (auto& c : out) c = static_cast<char>(rng() & 0xFF);
    return out;
}

}  // namespace vx::sample
