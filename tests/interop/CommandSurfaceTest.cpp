#include <gtest/gtest.h>

#include "interop/CommandSurface.h"

namespace {

constexpr double kNear = 10, kFar = 20;

cv::Vec3b At(const cv::Mat& picture, SurfaceMap map, double left, double right)
{
    return picture.at<cv::Vec3b>(SurfacePoint(map, left, right, kFar));
}

}  // namespace

// A table that turns only when the left side is free and speeds up only when the right
// is: the angle map must change across (left) and the speed map up (right), not the reverse.
TEST(CommandSurface, LeftRunsAcrossAndRightRunsUp)
{
    InferenceTable table;
    for (int k = 0; k < InferenceTable::kSituations; ++k) {
        table.angles[k] = (k & 4) ? 45 : -45;
        table.speeds[k] = (k & 1) ? 3 : 0;
    }
    const cv::Mat picture = DrawCommandSurface({table, kNear, kFar, 2 * kFar});
    ASSERT_EQ(picture.type(), CV_8UC3);

    EXPECT_NE(At(picture, SurfaceMap::Angle, 2, 30), At(picture, SurfaceMap::Angle, 50, 30));
    EXPECT_EQ(At(picture, SurfaceMap::Angle, 50, 25), At(picture, SurfaceMap::Angle, 50, 55));
    EXPECT_NE(At(picture, SurfaceMap::Speed, 30, 2), At(picture, SurfaceMap::Speed, 30, 50));
    EXPECT_EQ(At(picture, SurfaceMap::Speed, 25, 50), At(picture, SurfaceMap::Speed, 55, 50));
    // Steering left is red, right is blue; fast is brighter than stopped.
    const cv::Vec3b toLeft = At(picture, SurfaceMap::Angle, 50, 30), toRight = At(picture, SurfaceMap::Angle, 2, 30);
    EXPECT_GT(toLeft[2], toLeft[0]);
    EXPECT_GT(toRight[0], toRight[2]);
    const cv::Vec3b fast = At(picture, SurfaceMap::Speed, 30, 50), stopped = At(picture, SurfaceMap::Speed, 30, 2);
    EXPECT_GT(fast[0] + fast[1] + fast[2], stopped[0] + stopped[1] + stopped[2]);
}

TEST(CommandSurface, TheFrontDistanceChangesThePictureButNotItsSize)
{
    InferenceTable table;
    for (int k = 0; k < InferenceTable::kSituations; ++k) {
        table.angles[k] = (k & 2) ? 0 : 60;
        table.speeds[k] = (k & 2) ? 2 : 0.5;
    }
    const cv::Mat blocked = DrawCommandSurface({table, kNear, kFar, 0});
    const cv::Mat free = DrawCommandSurface({table, kNear, kFar, 3 * kFar});
    ASSERT_EQ(blocked.size(), free.size());
    EXPECT_NE(At(blocked, SurfaceMap::Angle, 30, 30), At(free, SurfaceMap::Angle, 30, 30));
    EXPECT_NE(At(blocked, SurfaceMap::Speed, 30, 30), At(free, SurfaceMap::Speed, 30, 30));
    // An all-zero table (a fresh dialog) draws without dividing by a zero range.
    EXPECT_EQ(DrawCommandSurface({InferenceTable{}, kNear, kFar, kNear}).size(), free.size());
}
