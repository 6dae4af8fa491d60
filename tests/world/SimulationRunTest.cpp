#include <gtest/gtest.h>

#include "WorldTestSupport.h"
#include "world/SimulationRun.h"

namespace {

InferenceTable CautiousTable()
{
    InferenceTable table;
    const double angles[8] = {40, -30, 0, -10, 30, 40, 10, 0};
    const double speeds[8] = {0.5, 1, 2, 2, 1, 1, 2, 2};
    std::copy(angles, angles + 8, table.angles);
    std::copy(speeds, speeds + 8, table.speeds);
    return table;
}

}  // namespace

TEST(SimulationRun, PrepareRunPlacesTheRobotAtTheCentreHeadingUp)
{
    auto sim = MakeSeededWorld(5);
    sim->distance = 77;
    sim->collisions = 3;
    sim->inCollision = 1;
    PrepareRun(*sim, CautiousTable());
    EXPECT_EQ(sim->centerX, 128);
    EXPECT_EQ(sim->centerY, 135);
    EXPECT_EQ(sim->distance, 0);
    EXPECT_EQ(sim->collisions, 0);
    EXPECT_EQ(sim->inCollision, 1) << "a collision in progress outlives the set-up";
    EXPECT_EQ(sim->raysPerSector, 60);
    EXPECT_EQ(sim->nearDistance, sim->radius);
    EXPECT_EQ(sim->angles[1], -30);
}

TEST(SimulationRun, SameSeedAndTableRepeatEveryPassExactly)
{
    auto first = MakeSeededWorld(2024);
    auto second = MakeSeededWorld(2024);
    PrepareRun(*first, CautiousTable());
    PrepareRun(*second, CautiousTable());
    for (int pass = 0; pass < 400; ++pass) {
        RunPass(*first, {.robot = true, .beams = true});
        RunPass(*second, {.robot = true, .beams = true});
        ASSERT_EQ(first->centerX, second->centerX) << pass;
        ASSERT_EQ(first->centerY, second->centerY) << pass;
        ASSERT_EQ(first->heading, second->heading) << pass;
        ASSERT_EQ(first->steer, second->steer) << pass;
        ASSERT_EQ(first->speed, second->speed) << pass;
    }
    EXPECT_EQ(first->distance, second->distance);
    EXPECT_EQ(first->collisions, second->collisions);
    EXPECT_EQ(first->rng.state, second->rng.state);
    EXPECT_TRUE(SameBytes(first->canvas, second->canvas));
    EXPECT_GT(first->distance, 100) << "the robot should have driven somewhere";
}

TEST(SimulationRun, AZeroTableStandsStillWithoutCollision)
{
    auto sim = MakeSeededWorld(8);
    PrepareRun(*sim, InferenceTable{});
    for (int pass = 0; pass < 20; ++pass) RunPass(*sim);
    EXPECT_EQ(sim->distance, 0);
    EXPECT_EQ(sim->collisions, 0);
    EXPECT_EQ(sim->centerY, 135);
}

TEST(SimulationRun, OnlyARobotStillInCollisionTakesTheBlinkColours)
{
    // Two standing robots, one asking for the blink colours like the desktop program
    // on an odd tick, one never like the runner; the test moves the obstacles instead.
    auto blinking = MakeSeededWorld(3);
    auto plain = MakeSeededWorld(3);
    PrepareRun(*blinking, InferenceTable{});
    PrepareRun(*plain, InferenceTable{});
    auto pass = [&](bool blocked) {
        blinking->freeMap.setTo(blocked ? 0 : 255);
        plain->freeMap.setTo(blocked ? 0 : 255);
        const bool shaking = RunPass(*blinking, {.robot = true, .beams = true, .collidingHighlighted = true});
        EXPECT_EQ(RunPass(*plain, {.robot = true, .beams = true}), shaking);
        return shaking;
    };
    auto sameFrame = [&] { return SameBytes(ComposeFrame(*blinking), ComposeFrame(*plain)); };

    EXPECT_FALSE(pass(false));
    EXPECT_TRUE(sameFrame()) << "a free robot never blinks";
    EXPECT_FALSE(pass(true)) << "the entry is counted, not yet shaken";
    EXPECT_TRUE(sameFrame());
    EXPECT_TRUE(pass(true));
    EXPECT_FALSE(sameFrame()) << "a robot still in collision blinks";
    EXPECT_TRUE(pass(false)) << "the pass that frees it began in collision";
    EXPECT_FALSE(pass(false));
    EXPECT_TRUE(sameFrame());
    EXPECT_EQ(blinking->collisions, 1);
    EXPECT_EQ(plain->collisions, 1);
}
