#include <gtest/gtest.h>
#include <opencv2/imgproc.hpp>

#include "WorldTestSupport.h"
#include "world/FreeMap.h"

namespace {

// The collision map drawn the slow, obvious way: one filled disc per obstacle pixel.
cv::Mat DiscPerPixelFreeMap(const cv::Mat& arena, int dilationRadius)
{
    cv::Mat freeMap(arena.size(), CV_8UC1, cv::Scalar(255));
    for (int y = 0; y < arena.rows; ++y)
        for (int x = 0; x < arena.cols; ++x)
            if (arena.at<cv::Vec3b>(y, x)[0] != 255)
                cv::circle(freeMap, cv::Point(x, y), dilationRadius, cv::Scalar(0), cv::FILLED, cv::LINE_8);
    return freeMap;
}

}  // namespace

TEST(Arena, SameSeedGivesIdenticalImagesAndDifferentSeedsDiffer)
{
    auto first = MakeSeededWorld(42);
    auto second = MakeSeededWorld(42);
    auto other = MakeSeededWorld(43);
    first->GenerateArena(10.0, 12);
    second->GenerateArena(10.0, 12);
    other->GenerateArena(10.0, 12);
    EXPECT_TRUE(SameBytes(first->arena, second->arena));
    EXPECT_TRUE(SameBytes(first->freeMap, second->freeMap));
    EXPECT_EQ(first->rng.state, second->rng.state);
    EXPECT_FALSE(SameBytes(first->arena, other->arena));
}

TEST(Arena, FreeMapMatchesOneDiscPerObstaclePixel)
{
    for (std::uint64_t seed : {1ull, 7ull, 42ull, 0xdeadbeefull, 123456789ull}) {
        auto sim = MakeSeededWorld(seed);
        sim->GenerateArena(10.0, 12);
        EXPECT_TRUE(SameBytes(sim->freeMap, DiscPerPixelFreeMap(sim->arena, 9))) << "seed " << seed;
    }
    // Other radii, including the degenerate single pixel and a disc wider than the gaps.
    auto sim = MakeSeededWorld(5);
    sim->GenerateArena(10.0, 12);
    for (int r : {0, 1, 4, 17}) {
        cv::Mat fast;
        BuildFreeMap(sim->arena, fast, r);
        EXPECT_TRUE(SameBytes(fast, DiscPerPixelFreeMap(sim->arena, r))) << "radius " << r;
    }
}

TEST(Arena, WithoutObstaclesOnlyTheBordersAreDrawnAndDilated)
{
    auto sim = MakeSeededWorld(3);
    const std::uint64_t before = sim->rng.state;
    sim->GenerateArena(10.0, 0);
    EXPECT_EQ(sim->rng.state, before) << "no obstacle, so nothing to draw";

    cv::Mat interior = sim->arena(cv::Rect(6, 6, 244, 244));
    EXPECT_EQ(cv::countNonZero(interior.reshape(1) != 255), 0);
    EXPECT_EQ(sim->arena.at<cv::Vec3b>(0, 0), cv::Vec3b(0, 255, 0));

    // Blocked in a band along the edges: the borders, a few pixels deep, dilated by 9.
    cv::Mat band = sim->freeMap.clone();
    cv::rectangle(band, cv::Point(0, 0), cv::Point(255, 255), cv::Scalar(0), 12);
    EXPECT_EQ(cv::countNonZero(band != sim->freeMap), 0) << "a band pixel is free";
    EXPECT_EQ(cv::countNonZero(sim->freeMap(cv::Rect(20, 20, 216, 216)) != 255), 0);
}

TEST(Arena, ObstaclesStayInTheSamplingSquareAndOffTheStart)
{
    for (std::uint64_t seed = 1; seed <= 20; ++seed) {
        auto sim = MakeSeededWorld(seed);
        sim->GenerateArena(10.0, 12);
        // Centres lie in [48, 208] outside the disc of radius 39 and vertices 10 pixels
        // further out; anything non-white between the border band and there is a fault.
        for (int y = 8; y < 248; ++y)
            for (int x = 8; x < 248; ++x) {
                const bool outsideReach = x < 37 || x > 219 || y < 37 || y > 219;
                if (outsideReach) {
                    ASSERT_EQ(sim->arena.at<cv::Vec3b>(y, x), cv::Vec3b(255, 255, 255)) << x << "," << y;
                }
            }
        EXPECT_EQ(sim->freeMap.at<unsigned char>(135, 128), 255) << "start centre blocked, seed " << seed;
        EXPECT_GT(cv::countNonZero(sim->freeMap == 0), 12 * 200) << "obstacles missing, seed " << seed;
    }
}
