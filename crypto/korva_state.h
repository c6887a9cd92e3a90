// The cipher module's one process-wide state: error code and texts, abort flag, last progress,
// and the progress sink that draws the percentage (the encryption window or a terminal bar).
// Long loops call korva::checkpoint() at their fixed intervals: it yields, tests the abort flag
// and draws the progress when the rounded percentage changed.
#pragma once

#include <QString>
#include <functional>

namespace vx::korva {

// Draws a percentage; 0 clears the display. Implemented by whoever shows progress.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void drawProgress(int percent) = 0;
};

struct ModuleState {
    int ErrorCode = 0;
    QString ErrorMessage;
    QString FileErrorText;
    bool AbortFlag = false;
    int LastProgress = 0;
    ProgressSink* sink = nullptr;  // not owned; may be null
    // Asked before a file operation replaces an existing file other than its source; false
    // keeps the file and ends the operation with a file error. Empty: replace without asking.
    std::function<bool(const QString& existing)> ConfirmReplace;
};

// The one state of the process.
ModuleState& state();

// Back to a fresh state (tests); keeps the sink.
void resetState();

// Draws through the sink; values above 100 are drawn as 100, 0 clears.
void DrawProgress(double percent);

// Yields to the event loop, then returns false when AbortFlag is set; otherwise rounds the
// percentage (halves to even) and draws it when it differs from LastProgress.
[[nodiscard]] bool checkpoint(double percent);

}  // namespace vx::korva
