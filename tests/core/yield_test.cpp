// The throttled yield delivers queued events but costs nothing when called in a tight loop.
#include "core/yield.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

using namespace vx;

TEST(Yield, DeliversPendingEventsAfterAMillisecond) {
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    QThread::msleep(2);
    yieldToEvents();
    EXPECT_TRUE(ran);
}

TEST(Yield, HookReplacesTheHandOverAndCanBeRemoved) {
    int calls = 0;
    setYieldHook([&] { ++calls; });
    for (int i = 0; i < 10; ++i) yieldToEvents();
    setYieldHook({});
    EXPECT_EQ(calls, 10);
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    QThread::msleep(2);
    yieldToEvents();
    EXPECT_TRUE(ran);
}
