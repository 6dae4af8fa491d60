#include <cmath>
#include <gtest/gtest.h>

#include "WorldTestSupport.h"

namespace {
constexpr double kHeadingUp = 1.5707963267948966;
constexpr double kDegreesToRadians = 0.017453292519943295;
}  // namespace

TEST(Robot, GeometryAndStartPose)
{
    auto sim = MakeSeededWorld(1);
    EXPECT_DOUBLE_EQ(sim->radius, std::sqrt(325.0) / 2 + 1);
    sim->SetPose(128, 128, kHeadingUp, 0);
    EXPECT_DOUBLE_EQ(sim->frontX, 128);
    EXPECT_DOUBLE_EQ(sim->frontY, 143);
    EXPECT_EQ(sim->centerX, 128);
    EXPECT_EQ(sim->centerY, 135);
    EXPECT_EQ(sim->distance, 0);
    EXPECT_EQ(sim->speed, 0);
}

TEST(Robot, StraightStepMovesAlongTheHeading)
{
    auto sim = MakeSeededWorld(1);
    sim->SetPose(128, 128, kHeadingUp, 0);
    sim->speed = 5;
    sim->Step();
    EXPECT_NEAR(sim->rearX, 128, 1e-12);
    EXPECT_DOUBLE_EQ(sim->rearY, 133);
    EXPECT_DOUBLE_EQ(sim->frontY, 148);
    EXPECT_EQ(sim->centerX, 128);
    EXPECT_EQ(sim->centerY, 140);
    EXPECT_EQ(sim->distance, 5);
    EXPECT_EQ(sim->heading, kHeadingUp);
}

TEST(Robot, SteeredStepTurnsThenMovesAlongTheNewHeading)
{
    auto sim = MakeSeededWorld(1);
    sim->SetPose(128, 128, kHeadingUp, 30 * kDegreesToRadians);
    sim->speed = 5;
    sim->Step();
    EXPECT_NEAR(sim->forwardSpeed, 4.3301, 1e-4);
    EXPECT_NEAR(sim->heading - kHeadingUp, 1.0 / 6, 1e-12);
    EXPECT_NEAR(sim->rearX, 127.2816, 1e-4);
    EXPECT_NEAR(sim->rearY, 132.2701, 1e-4);
    EXPECT_NEAR(sim->frontX, 124.7932, 1e-4);
    EXPECT_NEAR(sim->frontY, 147.0623, 1e-4);
    EXPECT_EQ(sim->centerX, 126);
    EXPECT_EQ(sim->centerY, 139);
    EXPECT_DOUBLE_EQ(sim->distance, std::sqrt(20.0));
}

TEST(Robot, OdometerCountsWholePixelJumpsOfTheCentre)
{
    auto sim = MakeSeededWorld(1);
    sim->SetPose(128, 128, kHeadingUp, 0);
    sim->Step();  // speed 0: nothing moves
    EXPECT_EQ(sim->distance, 0);
    EXPECT_EQ(sim->forwardSpeed, 0);

    sim->speed = 0.4;
    sim->Step();  // centre y 135.4 truncates to 135
    EXPECT_EQ(sim->centerY, 135);
    EXPECT_EQ(sim->distance, 0);
    sim->Step();
    sim->Step();  // 136.2: the whole pixel arrives at once
    EXPECT_EQ(sim->centerY, 136);
    EXPECT_EQ(sim->distance, 1);
}

TEST(Robot, DrawingUsesNormalAndCollisionColours)
{
    auto sim = MakeSeededWorld(1);
    sim->SetPose(128, 128, kHeadingUp, 0);
    sim->canvas.setTo(cv::Scalar(1, 2, 3));

    sim->DrawRobot(false);
    EXPECT_EQ(sim->canvas.at<cv::Vec3b>(135, 128), cv::Vec3b(0, 0, 255)) << "red body";
    EXPECT_EQ(sim->canvas.at<cv::Vec3b>(0, 0), cv::Vec3b(255, 255, 255)) << "white background";
    // The anti-aliased outline blends into the body: yellow over red, blue over cyan.
    const cv::Vec3b outline = sim->canvas.at<cv::Vec3b>(135, 128 + 10);
    EXPECT_TRUE(outline[0] == 0 && outline[1] > 128 && outline[2] == 255) << outline;

    sim->DrawRobot(true);
    EXPECT_EQ(sim->canvas.at<cv::Vec3b>(135, 128), cv::Vec3b(255, 255, 0)) << "cyan body";
    const cv::Vec3b blueOutline = sim->canvas.at<cv::Vec3b>(135, 128 + 10);
    EXPECT_TRUE(blueOutline[0] == 255 && blueOutline[1] < 128 && blueOutline[2] == 0) << blueOutline;
}

TEST(Robot, DrivingFarOutOfThePictureIsHarmless)
{
    auto sim = MakeSeededWorld(1);
    sim->SetPose(1e300, -1e300, 0.3, 0);
    sim->DrawRobot(false);
    EXPECT_EQ(cv::countNonZero(sim->canvas.reshape(1) != 255), 0);
    sim->SetPose(std::nan(""), 10, 0, 0);
    sim->DrawRobot(false);
    EXPECT_EQ(cv::countNonZero(sim->canvas.reshape(1) != 255), 0);
}
