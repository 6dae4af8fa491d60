#include <gtest/gtest.h>
#include <opencv2/imgcodecs.hpp>
#include <sstream>

#include "../common/PlayedGif.h"
#include "../world/ScratchFolder.h"
#include "runner/HeadlessRun.h"

namespace {

int RunTool(std::vector<std::string> arguments)
{
    std::ostringstream out, err;
    const int code = RunMarlune(arguments, out, err);
    EXPECT_TRUE(code == 0 || err.str().rfind("marlune-run: ", 0) == 0) << err.str();
    return code;
}

class VideoRecordingTest : public ScratchFolderTest {
protected:
    void SetUp() override { m_table = Write("table.ifi", "40 0.5\n-40 1\n0 2\n-10 2\n40 1\n40 1\n10 2\n0 2\n"); }

    std::vector<std::string> RunWith(std::vector<std::string> more) const
    {
        std::vector<std::string> arguments = {"--seed", "42", "--table", m_table, "--passes", "60", "--beams"};
        arguments.insert(arguments.end(), more.begin(), more.end());
        return arguments;
    }

    std::string m_table;
};

}  // namespace

TEST_F(VideoRecordingTest, AGifHoldsEveryPassAndEndsOnTheLastFrameExactly)
{
    // Two runs of one seed: a video alone must be enough for the passes to paint the frames.
    ASSERT_EQ(RunTool(RunWith({"--video", PathOf("run.gif"), "--fps", "20"})), 0);
    ASSERT_EQ(RunTool(RunWith({"--frame", PathOf("last.png")})), 0);
    const PlayedGif played = PlayGif(PathOf("run.gif"));
    EXPECT_EQ(played.frames, 60);
    EXPECT_EQ(played.delay, 5);
    EXPECT_EQ(played.width, 256);
    EXPECT_EQ(played.height, 256);
    const cv::Mat last = cv::imread(PathOf("last.png"));
    ASSERT_FALSE(last.empty());
    EXPECT_EQ(cv::norm(played.last, last, cv::NORM_INF), 0.0) << "the GIF's colours or rows are not the frame's";
}

TEST_F(VideoRecordingTest, AZoomedGifShowsEachPixelAsASquareAndTheFiguresDoNotChange)
{
    std::ostringstream plainOut, zoomedOut, err;
    ASSERT_EQ(RunMarlune(RunWith({"--frame", PathOf("last.png")}), plainOut, err), 0);
    ASSERT_EQ(RunMarlune(RunWith({"--video", PathOf("run.gif"), "--frame", PathOf("big.png"), "--zoom", "3"}),
                         zoomedOut, err),
              0);
    EXPECT_EQ(zoomedOut.str(), plainOut.str());
    const cv::Mat last = cv::imread(PathOf("last.png"));
    const cv::Mat big = cv::imread(PathOf("big.png"));
    const PlayedGif played = PlayGif(PathOf("run.gif"));
    ASSERT_EQ(big.size(), cv::Size(768, 768));
    EXPECT_EQ(played.frames, 60);
    EXPECT_EQ(cv::norm(played.last, big, cv::NORM_INF), 0.0);
    int differing = 0;
    for (int y = 0; y < big.rows; ++y)
        for (int x = 0; x < big.cols; ++x) differing += big.at<cv::Vec3b>(y, x) != last.at<cv::Vec3b>(y / 3, x / 3);
    EXPECT_EQ(differing, 0);
}

TEST_F(VideoRecordingTest, BadVideoOptionsStopBeforeRunning)
{
    EXPECT_EQ(RunTool(RunWith({"--video", PathOf("run.avi")})), 2);
    EXPECT_EQ(RunTool(RunWith({"--video", PathOf("run.gif"), "--fps", "0"})), 2);
    EXPECT_EQ(RunTool(RunWith({"--video", PathOf("run.gif"), "--fps", "101"})), 2);
    EXPECT_EQ(RunTool(RunWith({"--fps", "10"})), 2);
    EXPECT_FALSE(std::filesystem::exists(PathOf("run.gif")));
}

TEST_F(VideoRecordingTest, AVideoThatCannotBeWrittenIsCodeOneAndLeavesNothing)
{
    EXPECT_EQ(RunTool(RunWith({"--video", PathOf("none/run.gif")})), 1);
    EXPECT_EQ(RunTool(RunWith({"--video", PathOf("none/run.mp4")})), 1);
    const auto entries = std::distance(std::filesystem::directory_iterator(m_directory), {});
    EXPECT_EQ(entries, 1) << "only the table should be left";
}
