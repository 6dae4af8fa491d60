#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <opencv2/imgcodecs.hpp>

#include "../world/ScratchFolder.h"
#include "runner/HeadlessRun.h"
#include "runner/TrajectoryPlot.h"

namespace {

constexpr int S = TrajectoryPlot::kScale;

cv::Mat WhiteArena()
{
    return cv::Mat(256, 256, CV_8UC3, cv::Scalar(255, 255, 255));
}

bool IsReddish(const cv::Vec3b& p)
{
    return p[2] > 150 && p[1] < 100 && p[0] < 100;
}

int CountReddish(const cv::Mat& picture, cv::Rect area)
{
    int count = 0;
    area &= cv::Rect(0, 0, picture.cols, picture.rows);
    for (int y = area.y; y < area.y + area.height; ++y)
        for (int x = area.x; x < area.x + area.width; ++x) count += IsReddish(picture.at<cv::Vec3b>(y, x));
    return count;
}

// A straight path along y = 20 from x = 30 to x = 130, a collision counted at x = 100.
TrajectoryPlot StraightPath()
{
    TrajectoryPlot plot;
    for (int x = 30; x <= 130; ++x) plot.Record(x, 20, x >= 100 ? 1 : 0);
    return plot;
}

}  // namespace

TEST(TrajectoryPlot, ScalesTheArenaUpPixelForPixel)
{
    cv::Mat arena = WhiteArena();
    arena.at<cv::Vec3b>(0, 1) = {0, 255, 0};  // world (1, 0)
    const cv::Mat picture = TrajectoryPlot().Render(arena);
    ASSERT_EQ(picture.size(), cv::Size(256 * S, 256 * S));
    for (int y = 0; y < S; ++y)
        for (int x = 0; x < 2 * S; ++x)
            EXPECT_EQ(picture.at<cv::Vec3b>(y, x), x < S ? cv::Vec3b(255, 255, 255) : cv::Vec3b(0, 255, 0));
    EXPECT_EQ(picture.at<cv::Vec3b>(S, S), (cv::Vec3b{255, 255, 255}));
}

TEST(TrajectoryPlot, DrawsThePathWhereTheRobotWentAndRingsOnlyItsCollisions)
{
    const cv::Mat picture = StraightPath().Render(WhiteArena());
    const int row = 20 * S + S / 2;
    // The path passes halfway, away from the start and end dots.
    EXPECT_NE(picture.at<cv::Vec3b>(row, 70 * S + S / 2), (cv::Vec3b{255, 255, 255}));
    // Nothing drawn far from the path.
    EXPECT_EQ(picture.at<cv::Vec3b>(row + 30 * S, 70 * S), (cv::Vec3b{255, 255, 255}));
    // Start green, end black.
    const cv::Vec3b start = picture.at<cv::Vec3b>(row, 30 * S + S / 2);
    EXPECT_GT(start[1], 120);
    EXPECT_LT(start[2], 60);
    EXPECT_EQ(picture.at<cv::Vec3b>(row, 130 * S + S / 2), (cv::Vec3b{0, 0, 0}));
    // One ring at x = 100, none elsewhere; staying in collision draws no more rings.
    EXPECT_GT(CountReddish(picture, cv::Rect(100 * S - 5 * S, row - 5 * S, 10 * S, 10 * S)), 20);
    EXPECT_EQ(CountReddish(picture, cv::Rect(0, 0, 95 * S, 256 * S)), 0);
    EXPECT_EQ(CountReddish(picture, cv::Rect(105 * S, 0, 151 * S, 256 * S)), 0);
}

TEST(TrajectoryPlot, APathLeavingThePictureIsClippedNotAFault)
{
    TrajectoryPlot plot;
    plot.Record(250, 250, 0);
    plot.Record(300, 310, 1);
    plot.Record(-40, -5, 1);
    EXPECT_EQ(plot.Render(WhiteArena()).size(), cv::Size(256 * S, 256 * S));
}

TEST(TrajectoryPlot, APathToNowhereIsClippedAtTheEdgeItHeadsFor)
{
    // A table with huge speeds throws the robot beyond any int, or leaves it no number at all.
    TrajectoryPlot plot;
    plot.Record(128, 128, 0);
    plot.Record(1e300, 128, 0);
    plot.Record(-1e300, -1e300, 1);
    plot.Record(std::nan(""), std::nan(""), 2);
    const cv::Mat picture = plot.Render(WhiteArena());
    ASSERT_EQ(picture.size(), cv::Size(256 * S, 256 * S));
    EXPECT_NE(picture.at<cv::Vec3b>(128 * S + S / 2, 256 * S - 1), cv::Vec3b(255, 255, 255))
        << "the line towards the far right reaches the picture's right edge";
}

TEST(TrajectoryPlot, MarluneRunWritesThePathOfItsRunUpright)
{
    const ScratchFolder scratch;
    const std::filesystem::path& dir = scratch.path;
    const std::string table = (dir / "t.ifi").string(), png = (dir / "path.png").string();
    std::ofstream(table) << "60 0.2\n-55 0.5\n0 1.5\n-5 2\n55 0.5\n60 0.5\n5 2\n0 2.5\n";
    std::ostringstream out, err;
    ASSERT_EQ(RunMarlune({"--seed", "7", "--table", table, "--passes", "300", "--plot", png}, out, err), 0)
        << err.str();
    const cv::Mat picture = cv::imread(png);
    ASSERT_EQ(picture.size(), cv::Size(256 * S, 256 * S));
    // The start centre (128, 135) carries the green dot; y grows upwards in the picture.
    const cv::Vec3b start = picture.at<cv::Vec3b>((255 - 135) * S + S / 2, 128 * S + S / 2);
    EXPECT_GT(start[1], 120);
    EXPECT_LT(start[2], 60);

    EXPECT_EQ(RunMarlune({"--seed", "7", "--plot", (dir / "path.txt").string()}, out, err), 2);
    EXPECT_EQ(RunMarlune({"--seed", "7", "--passes", "1", "--plot", (dir / "missing" / "p.png").string()}, out, err),
              1);
}
