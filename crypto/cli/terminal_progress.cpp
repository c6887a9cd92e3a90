// Terminal progress bar.
#include "crypto/cli/terminal_progress.h"

#include <cstdio>
#include <unistd.h>

namespace vx::crypt_cli {

TerminalProgress::TerminalProgress() : m_enabled(::isatty(STDERR_FILENO) == 1) {}

void TerminalProgress::drawProgress(int percent) {
    if (!m_enabled) return;
    if (percent <= 0) {
        std::fputs("\r\033[K", stderr);
    } else {
        constexpr int kWidth = 40;
        char bar[kWidth + 1];
        const int filled = percent * kWidth / 100;
        for (int i = 0; i < kWidth; ++i) bar[i] = i < filled ? '#' : '.';
        bar[kWidth] = '\0';
        std::fprintf(stderr, "\r[%s] %3d%%", bar, percent);
    }
    std::fflush(stderr);
}

}  // namespace vx::crypt_cli
