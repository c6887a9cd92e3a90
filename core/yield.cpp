// Throttled hand-over to the event loop.
#include "core/yield.h"

#include <QCoreApplication>
#include <chrono>

namespace vx {
namespace {

std::function<void()>& hook() {
    static std::function<void()> h;
    return h;
}

}  // namespace

void yieldToEvents() {
    if (hook()) {
        hook()();
        return;
    }
    using Clock = std::chrono::steady_clock;
    static Clock::time_point last{};
    const auto now = Clock::now();
    if (now - last < std::chrono::milliseconds(1)) return;
    last = now;
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

void setYieldHook(std::function<void()> h) { hook() = std::move(h); }

}  // namespace vx
