// Throttled hand-over to the event loop.
#include "core/yield.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdint>
#include <time.h>

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
    // The coarse clock costs a few nanoseconds where the precise one costs tens: a transfer
    // yields once per 255-byte block, a million times for 256 MiB.
    static std::int64_t lastTick = -1;
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
    const std::int64_t tick = std::int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
    if (waitMs <= 0 && tick == lastTick) return;
    lastTick = tick;
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
