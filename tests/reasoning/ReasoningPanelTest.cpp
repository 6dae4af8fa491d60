#include <fstream>
#include <gtest/gtest.h>
#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/videoio.hpp>
#include <sstream>

#include "../world/ScratchFolder.h"
#include "reasoning/InferencePicture.h"
#include "reasoning/ReasoningPanel.h"
#include "reasoning/StripPicture.h"
#include "runner/HeadlessRun.h"

namespace {

// marlune-run --inference, as the program runs it.
class ReasoningPanelTest : public ScratchFolderTest {
protected:
    void SetUp() override { m_table = Write("table.ifi", "40 0.5\n-40 1\n0 2\n-10 2\n40 1\n40 1\n10 2\n0 2\n"); }

    // The summary printed; fails the test on a non-zero exit.
    std::string Run(std::vector<std::string> more) const
    {
        // Seed 13 counts collisions at passes 31, 35 and 133: two before the strip's last
        // 200 passes, one in them.
        std::vector<std::string> arguments = {"--seed", "13", "--table", m_table, "--passes", "250"};
        arguments.insert(arguments.end(), more.begin(), more.end());
        std::ostringstream out, err;
        EXPECT_EQ(RunMarlune(arguments, out, err, MakeReasoningPanel), 0) << err.str();
        return out.str();
    }

    // The passes of the trace whose collision count grew, among the last `last` passes.
    static std::vector<int> CountingPasses(const std::string& tracePath, int last)
    {
        std::ifstream trace(tracePath);
        std::string line;
        std::getline(trace, line);
        std::vector<std::pair<int, int>> rows;
        while (std::getline(trace, line)) {
            std::istringstream fields(line);
            std::string field;
            std::vector<std::string> values;
            while (std::getline(fields, field, ',')) values.push_back(field);
            rows.emplace_back(std::stoi(values[0]), std::stoi(values[9]));
        }
        std::vector<int> passes;
        for (std::size_t i = 1; i < rows.size(); ++i)
            if (rows[i].second > rows[i - 1].second && rows[i].first > static_cast<int>(rows.size()) - last)
                passes.push_back(rows[i].first);
        return passes;
    }

    std::string m_table;
};

constexpr int kZoom = 2;
constexpr int kArena = 256 * kZoom;

}  // namespace

TEST_F(ReasoningPanelTest, TheReasoningStandsBesideAnUnchangedArenaAndLeavesTheFiguresAlone)
{
    const std::string plainSummary = Run({"--frame", PathOf("plain.png"), "--zoom", "2"});
    const std::string summary =
        Run({"--frame", PathOf("both.png"), "--zoom", "2", "--inference", "--trace", PathOf("trace.csv")});
    EXPECT_EQ(summary, plainSummary);

    const cv::Mat plain = cv::imread(PathOf("plain.png"));
    const cv::Mat both = cv::imread(PathOf("both.png"));
    const QSize picture = InferencePicture::Size(), strip = StripPicture::Size();
    const int panelHeight = picture.height() + strip.height();
    ASSERT_EQ(both.size(), cv::Size(kArena + picture.width(), std::max(kArena, panelHeight)));
    EXPECT_EQ(cv::norm(both(cv::Rect(0, 0, kArena, kArena)), plain, cv::NORM_INF), 0.0)
        << "the arena must be the frame the world drew, pixel for pixel";
    const cv::Mat underArena = both(cv::Rect(0, kArena, kArena, both.rows - kArena));
    EXPECT_EQ(cv::countNonZero(underArena.reshape(1) != 255), 0) << "under the arena: white ground only";

    // The strip marks exactly the passes that counted a collision among its last 200,
    // each a red mark over its column, left to right.
    const std::vector<int> counted = CountingPasses(PathOf("trace.csv"), 200);
    ASSERT_EQ(counted, std::vector<int>{133}) << "the seed no longer gives the run this test needs";
    const cv::Mat marks = both(cv::Rect(kArena, picture.height(), picture.width(), 26));
    std::vector<int> markColumns;  // where each run of red columns starts
    bool previousRed = false;
    for (int x = 0; x < marks.cols; ++x) {
        bool red = false;
        for (int y = 0; y < marks.rows; ++y) red = red || marks.at<cv::Vec3b>(y, x) == cv::Vec3b(0, 0, 255);
        if (red && !previousRed) markColumns.push_back(x);
        previousRed = red;
    }
    ASSERT_EQ(markColumns.size(), counted.size()) << testing::PrintToString(markColumns);
    // Pass 133 of 250 is column 82 of 200 in 540 pixels of columns from x = 10.
    EXPECT_NEAR(markColumns[0], 10 + 82 * 540 / 200, 1);

    // The winner's bar is drawn in the winner's colour.
    const cv::Mat panel = both(cv::Rect(kArena, 0, picture.width(), picture.height()));
    cv::Mat winnerColoured;
    cv::inRange(panel, cv::Scalar(0, 140, 230), cv::Scalar(0, 140, 230), winnerColoured);
    EXPECT_GT(cv::countNonZero(winnerColoured), 0);
}

TEST_F(ReasoningPanelTest, AVideoWithTheReasoningHoldsEveryPassAtTheWiderSize)
{
    Run({"--passes", "30", "--video", PathOf("run.mp4"), "--inference"});
    cv::VideoCapture video(PathOf("run.mp4"));
    ASSERT_TRUE(video.isOpened());
    int frames = 0;
    cv::Mat frame;
    while (video.read(frame)) ++frames;
    EXPECT_EQ(frames, 30);
    EXPECT_EQ(video.get(cv::CAP_PROP_FRAME_WIDTH), 256 + InferencePicture::Size().width());
    EXPECT_EQ(video.get(cv::CAP_PROP_FRAME_HEIGHT), InferencePicture::Size().height() + StripPicture::Size().height());
}
