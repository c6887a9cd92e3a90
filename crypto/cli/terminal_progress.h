// A progress bar for vexaro-crypt on a terminal: one line on standard error, redrawn in place.
#pragma once

#include "crypto/korva_state.h"

namespace vx::crypt_cli {

class TerminalProgress : public korva::ProgressSink {
public:
    // Draws only when standard error is a terminal.
    TerminalProgress();
    void drawProgress(int percent) override;

private:
    bool m_enabled;
};

}  // namespace vx::crypt_cli
