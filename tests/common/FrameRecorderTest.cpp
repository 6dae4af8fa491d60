// The videos both programs record: every frame kept, at its size, exactly in a GIF, and
// nothing left behind when the file cannot be written.
#include "common/FrameRecorder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <opencv2/imgproc.hpp>
#include <opencv2/videoio.hpp>
#include <stdexcept>
#include <unistd.h>

#include "PlayedGif.h"

namespace fs = std::filesystem;

namespace {

class FrameRecorderTest : public testing::Test {
protected:
    FrameRecorderTest()
        : folder_(fs::temp_directory_path() / ("video-" + std::to_string(getpid()) + "-" +
                                               testing::UnitTest::GetInstance()->current_test_info()->name()))
    {
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    ~FrameRecorderTest() override { fs::remove_all(folder_); }

    std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }

    // Frame `n` of a moving picture: a gradient of 64 x 64 = 4096 colours, more than one GIF
    // palette holds, and a square that moves a step each frame.
    static cv::Mat Frame(int n)
    {
        cv::Mat3b frame(96, 64);
        for (int y = 0; y < frame.rows; ++y)
            for (int x = 0; x < frame.cols; ++x)
                frame(y, x) = cv::Vec3b(static_cast<uchar>(4 * x), static_cast<uchar>(4 * (y % 64)), 90);
        cv::rectangle(frame, cv::Rect(4 * n, 70, 10, 10), cv::Scalar(255, 255, 255), cv::FILLED);
        return frame;
    }

    fs::path folder_;
};

TEST_F(FrameRecorderTest, AGifPlaysEveryFrameWithItsDelayAndEndsOnTheLastOneExactly)
{
    auto recorder = OpenFrameRecorder(PathOf("run.gif"), 20, cv::Size(64, 96));
    for (int n = 0; n < 7; ++n) recorder->Add(Frame(n));
    recorder->Add(Frame(6));  // nothing changed: still a frame of its own
    recorder->Finish();
    const PlayedGif played = PlayGif(PathOf("run.gif"));
    EXPECT_EQ(played.frames, 8);
    EXPECT_EQ(played.delay, 5) << "hundredths of a second at 20 frames a second";
    EXPECT_EQ(played.width, 64);
    EXPECT_EQ(played.height, 96);
    EXPECT_EQ(cv::norm(played.last, Frame(6), cv::NORM_INF), 0.0) << "the GIF's colours or rows are not the frame's";
}

TEST_F(FrameRecorderTest, AGifKeepsAChangeOfOneStepInOneChannel)
{
    auto recorder = OpenFrameRecorder(PathOf("run.gif"), 20, cv::Size(64, 96));
    cv::Mat frame = Frame(0);
    recorder->Add(frame);
    frame.at<cv::Vec3b>(40, 30)[0] += 1;  // too little to change the pixel's grey level
    recorder->Add(frame);
    recorder->Finish();
    EXPECT_EQ(cv::norm(PlayGif(PathOf("run.gif")).last, frame, cv::NORM_INF), 0.0);
}

TEST_F(FrameRecorderTest, AnMp4HoldsEveryFrameAtItsSize)
{
    auto recorder = OpenFrameRecorder(PathOf("run.MP4"), 25, cv::Size(64, 96));
    for (int n = 0; n < 12; ++n) recorder->Add(Frame(n));
    recorder->Finish();
    cv::VideoCapture video(PathOf("run.MP4"));
    ASSERT_TRUE(video.isOpened());
    int frames = 0;
    cv::Mat frame;
    while (video.read(frame)) {
        EXPECT_EQ(frame.size(), cv::Size(64, 96));
        ++frames;
    }
    EXPECT_EQ(frames, 12);
}

TEST_F(FrameRecorderTest, OnlyGifAndMp4AreVideosAndAFrameOfAnotherSizeIsRefused)
{
    EXPECT_TRUE(IsVideoPath("a/run.Gif"));
    EXPECT_TRUE(IsVideoPath("run.mp4"));
    EXPECT_FALSE(IsVideoPath("run.avi"));
    EXPECT_FALSE(IsVideoPath("gif/run"));
    EXPECT_THROW(OpenFrameRecorder(PathOf("run.avi"), 10, cv::Size(64, 96)), std::runtime_error);
    for (const char* name : {"run.gif", "run.mp4"}) {
        auto recorder = OpenFrameRecorder(PathOf(name), 10, cv::Size(64, 96));
        EXPECT_THROW(recorder->Add(cv::Mat3b(10, 10)), std::runtime_error) << name;
    }
}

TEST_F(FrameRecorderTest, AVideoThatCannotBeWrittenSaysSoAndLeavesNothing)
{
    for (const char* name : {"none/run.gif", "none/run.mp4"}) {
        try {
            OpenFrameRecorder(PathOf(name), 10, cv::Size(64, 96));
            ADD_FAILURE() << name << " was opened";
        } catch (const std::runtime_error& error) {
            EXPECT_NE(std::string(error.what()).find(PathOf(name)), std::string::npos) << error.what();
        }
    }
    EXPECT_TRUE(fs::is_empty(folder_));
}

}  // namespace
