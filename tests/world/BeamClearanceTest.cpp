// The clearance must never claim more room than there is, or Sense would dismiss a beam
// that ends nearer; it must claim enough to be worth reading.
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <opencv2/imgproc.hpp>
#include <vector>

#include "WorldTestSupport.h"
#include "world/BeamClearance.h"
#include "world/RandomState.h"

namespace {

// The distance from (x, y) to the unit square of pixel (column, row).
double DistanceToPixel(double x, double y, int column, int row)
{
    const double dx = std::max({column - x, 0.0, x - (column + 1)});
    const double dy = std::max({row - y, 0.0, y - (row + 1)});
    return std::sqrt(dx * dx + dy * dy);
}

// By brute force: the nearest obstacle pixel, or the nearest edge of the picture.
double TrueClearance(const cv::Mat& arena, double x, double y)
{
    double nearest = std::min({x, arena.cols - x, y, arena.rows - y});
    for (int row = 0; row < arena.rows; ++row)
        for (int column = 0; column < arena.cols; ++column)
            if (arena.at<cv::Vec3b>(row, column)[0] != 255)
                nearest = std::min(nearest, DistanceToPixel(x, y, column, row));
    return nearest;
}

}  // namespace

TEST(BeamClearanceTest, NeverClaimsMoreRoomThanThereIsAndNotMuchLess)
{
    RandomState random(17);
    cv::Mat arena(48, 64, CV_8UC3, cv::Scalar(255, 255, 255));
    // Lone pixels, a bar and a disc; one obstacle pixel only differs in green and red,
    // which are not what makes an obstacle.
    for (int k = 0; k < 12; ++k)
        arena.at<cv::Vec3b>(static_cast<int>(random.Next() % 48), static_cast<int>(random.Next() % 64)) = {0, 0, 0};
    cv::rectangle(arena, cv::Point(30, 10), cv::Point(33, 30), cv::Scalar(254, 255, 255), cv::FILLED);
    cv::circle(arena, cv::Point(50, 35), 5, cv::Scalar(0, 128, 0), cv::FILLED);
    arena.at<cv::Vec3b>(5, 5) = {255, 0, 0};
    BeamClearance clearance;
    clearance.Build(arena);
    for (int point = 0; point < 4000; ++point) {
        const double x = (random.Next() % 64000) * 1e-3, y = (random.Next() % 48000) * 1e-3;
        const double exact = TrueClearance(arena, x, y);
        ASSERT_LE(clearance.At(x, y), exact) << "at " << x << "," << y;
        // A pixel stands for all its points, so the bound may fall short by two
        // diagonals of a pixel, and the chamfer by 2 % of the distance.
        ASSERT_LT(exact - clearance.At(x, y), 2 * std::sqrt(2.0) + exact / 50 + 0.01) << "at " << x << "," << y;
    }
}

TEST(BeamClearanceTest, ClaimsNoRoomOutsideThePictureOrNowhere)
{
    cv::Mat arena(20, 30, CV_8UC3, cv::Scalar(255, 255, 255));
    BeamClearance clearance;
    EXPECT_TRUE(clearance.Empty());
    clearance.Build(arena);
    EXPECT_FALSE(clearance.Empty());
    EXPECT_GT(clearance.At(15, 10), 5);
    for (const auto& [x, y] : {std::pair{-1e-9, 10.0},
                               {30.0, 10.0},
                               {15.0, -0.5},
                               {15.0, 20.0},
                               {NAN, 10.0},
                               {15.0, INFINITY},
                               {-1e300, 1e300}})
        EXPECT_LT(clearance.At(x, y), 0) << x << "," << y;
    clearance.Clear();
    EXPECT_TRUE(clearance.Empty());
}

TEST(BeamClearanceTest, ProvesFreeOnlyTheRaysThatAre)
{
    // From the middle of an empty picture with one wall across the right-hand side:
    // rays heading left are free for 20 pixels, rays heading right meet the wall at 10.
    cv::Mat arena(64, 64, CV_8UC3, cv::Scalar(255, 255, 255));
    cv::line(arena, cv::Point(42, 0), cv::Point(42, 63), cv::Scalar(0, 0, 0));
    BeamClearance clearance;
    clearance.Build(arena);
    const std::vector<double> cosines{1, -1, 0, std::cos(2.0)}, sines{0, 0, 1, std::sin(2.0)};
    const RayFan fan{32, 32, 1, 0, cosines.data(), sines.data(), 4};
    unsigned char free[4];
    clearance.MarkSurelyFree(fan, {2, 20, 1.5, 21.5}, free);
    EXPECT_EQ(free[0], 0) << "the wall lies 10 pixels to the right";
    EXPECT_EQ(free[1], 1);
    EXPECT_EQ(free[2], 1);
    EXPECT_EQ(free[3], 1);
    // Further than the picture's edge, nothing is free.
    clearance.MarkSurelyFree(fan, {2, 40, 1.5, 41.5}, free);
    EXPECT_EQ(free[1] + free[2] + free[3], 0);
}
