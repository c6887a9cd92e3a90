// Throttled hand-over to the event loop.
#include "core/yield.h"

#include <QCoreApplication>
#include <QTimer>
#include <chrono>

namespace vx {
namespace {

std::function<void()>& hook() {
    static std::function<void()> h;
    return h;
}

}  // namespace

void yieldToEvents(int waitMs) {
    if (hook()) {
        hook()();
        return;
    }
    using Clock = std::chrono::steady_clock;
    static Clock::time_point last{};
    const auto now = Clock::now();
    if (waitMs <= 0 && now - last < std::chrono::milliseconds(1)) return;
    last = now;
    if (!QCoreApplication::instance()) return;
    QCoreApplication::processEvents();
    if (waitMs <= 0) return;
    // The timer ends the wait below even when nothing else happens.
    QTimer wake;
    wake.setSingleShot(true);
    wake.start(waitMs);
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void setYieldHook(std::function<void()> h) { hook() = std::move(h); }

}  // namespace vx
