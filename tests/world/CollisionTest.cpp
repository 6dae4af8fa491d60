#include <gtest/gtest.h>

#include "WorldTestSupport.h"

namespace {

void PlaceCentre(RobotSimulation& sim, double x, double y)
{
    sim.centerX = x;
    sim.centerY = y;
}

}  // namespace

TEST(Collision, OnlyTheCentrePixelOfTheMapDecides)
{
    auto sim = MakeEmptyWorld();
    sim->freeMap.at<unsigned char>(20, 10) = 0;  // row 20, column 10
    PlaceCentre(*sim, 10, 20);
    EXPECT_TRUE(sim->IsCenterBlocked());
    PlaceCentre(*sim, 20, 10);
    EXPECT_FALSE(sim->IsCenterBlocked());
}

TEST(Collision, ACentreOffTheMapIsBlocked)
{
    auto sim = MakeEmptyWorld();
    for (auto [x, y] : {std::pair{-1.0, 10.0}, {256.0, 10.0}, {10.0, -1.0}, {10.0, 256.0}, {1e300, 1e300}}) {
        PlaceCentre(*sim, x, y);
        EXPECT_TRUE(sim->IsCenterBlocked()) << x << "," << y;
    }
    PlaceCentre(*sim, std::nan(""), 10);
    EXPECT_TRUE(sim->IsCenterBlocked());
    PlaceCentre(*sim, 255, 255);
    EXPECT_FALSE(sim->IsCenterBlocked());
}

TEST(Collision, EachEntryCountsOnceAndTheShakeCoversTheWayOut)
{
    auto sim = MakeEmptyWorld();
    sim->freeMap.at<unsigned char>(50, 50) = 0;
    sim->collisions = 0;
    const auto pass = [&](double x) {
        PlaceCentre(*sim, x, 50);
        return sim->UpdateCollision();
    };
    EXPECT_FALSE(pass(49));  // free
    EXPECT_FALSE(pass(50));  // entry: counted, not yet shaking
    EXPECT_EQ(sim->collisions, 1);
    EXPECT_TRUE(pass(50));  // still inside: shakes, no new count
    EXPECT_TRUE(pass(51));  // leaving: shakes once more, clears the flag
    EXPECT_EQ(sim->inCollision, 0);
    EXPECT_FALSE(pass(50));  // entering again counts again
    EXPECT_EQ(sim->collisions, 2);
}
