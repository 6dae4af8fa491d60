#include <gtest/gtest.h>

#include "app/RunPace.h"

namespace {

using std::chrono::milliseconds;
const RunPace::Clock::time_point t0{std::chrono::seconds(1000)};

TEST(RunPaceTest, UnpacedByDefaultEveryPassRunsAndTheKeyPollWaitsOneMillisecond)
{
    RunPace pace;
    EXPECT_EQ(pace.PassesPerSecond(), 0);
    for (int k = 0; k < 5; ++k) EXPECT_TRUE(pace.TakePass(t0));
    EXPECT_EQ(pace.PollDelayMs(t0), 1);
}

TEST(RunPaceTest, TwentyFivePassesPerSecondRunOneEveryFortyMilliseconds)
{
    RunPace pace;
    for (int k = 0; k < 4; ++k) pace.Slower(t0);
    ASSERT_EQ(pace.PassesPerSecond(), 25);
    EXPECT_TRUE(pace.TakePass(t0));
    EXPECT_FALSE(pace.TakePass(t0 + milliseconds(39)));
    EXPECT_EQ(pace.PollDelayMs(t0 + milliseconds(10)), 30);
    EXPECT_TRUE(pace.TakePass(t0 + milliseconds(40)));
    // A pass 15 ms late does not push the schedule back: the next is due at 120 ms.
    EXPECT_TRUE(pace.TakePass(t0 + milliseconds(95)));
    EXPECT_FALSE(pace.TakePass(t0 + milliseconds(119)));
    EXPECT_TRUE(pace.TakePass(t0 + milliseconds(120)));
    EXPECT_EQ(pace.PollDelayMs(t0 + milliseconds(200)), 1) << "a due pass must not wait for keys";
}

TEST(RunPaceTest, AfterALongHoldUpTheScheduleStartsAfreshInsteadOfRushing)
{
    RunPace pace;
    pace.Slower(t0);  // 200 per second: one every 5 ms
    EXPECT_TRUE(pace.TakePass(t0));
    EXPECT_TRUE(pace.TakePass(t0 + milliseconds(1000)));
    EXPECT_FALSE(pace.TakePass(t0 + milliseconds(1001)));
    EXPECT_TRUE(pace.TakePass(t0 + milliseconds(1005)));
}

TEST(RunPaceTest, PlusAndMinusStopAtBothEnds)
{
    RunPace pace;
    pace.Faster(t0);
    EXPECT_EQ(pace.PassesPerSecond(), 0);
    for (int expected : {200, 100, 50, 25, 25}) {
        pace.Slower(t0);
        EXPECT_EQ(pace.PassesPerSecond(), expected);
    }
}

}  // namespace
