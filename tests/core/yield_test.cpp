// The throttled yield delivers queued events; a hook replaces it in tests and can be removed.
#include "core/yield.h"

#include <gtest/gtest.h>

#include <QThread>
#include <QTimer>

using namespace vx;

TEST(Yield, DeliversPendingEventsOnceAMillisecondHasPassed) {
    int calls = 0;
    setYieldHook([&] { ++calls; });
    for (int i = 0; i < 10; ++i) yieldToEvents();
    setYieldHook({});
    EXPECT_EQ(calls, 10);  // every yield reaches the hook, unthrottled
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    QThread::msleep(2);
    yieldToEvents();
    EXPECT_TRUE(ran);
}
