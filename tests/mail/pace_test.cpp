// Pause counts from the start rounded to the whole second, so a pause of n lasts n - 0.5 to n +
// 0.5; the waits yield through the one yield of the program.
#include "mail/pace.h"

#include <gtest/gtest.h>

#include "core/yield.h"

using namespace vx;

TEST(Pace, PauseCountsFromTheRoundedStart) {
    const std::pair<double, double> cases[] = {{10.4, 1.6}, {10.6, 2.4}, {10.5, 1.5}, {11.5, 2.5}};
    for (const auto& [start, lasted] : cases) {
        double now = start - 0.0625, last = 0;  // a clock that moves on at each reading
        Pause(2, [&] { return last = now += 0.0625; });
        EXPECT_NEAR(last - start, lasted, 0.07) << start;
    }
}

// The waits of the SMTP dialogues hand over through the program's one yield (which tests hook).
TEST(Pace, WaitsYieldThroughTheProgramsOneYield) {
    int yields = 0;
    setYieldHook([&] { ++yields; });
    double now = 0;
    Pause(1, [&] { return now += 0.25; });  // start 0; readings 0.5 and 0.75 wait, 1.0 ends
    letEventsRun();
    setYieldHook({});
    EXPECT_EQ(yields, 3);
}
