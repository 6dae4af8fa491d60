#pragma once
#include <memory>
#include <opencv2/core.hpp>
#include <string>

// A video of a run, one frame per pass, written through an atomic replace: the target
// appears only once Finish has written the whole video.
class FrameRecorder {
public:
    virtual ~FrameRecorder() = default;
    // Adds one upright CV_8UC3 frame of the size the recorder was opened with. Throws
    // std::runtime_error naming the file when the frame cannot be written.
    virtual void Add(const cv::Mat& frame) = 0;
    // Ends the video and puts it in place; throws std::runtime_error when that fails.
    virtual void Finish() = 0;
};

// True for the names a video can be written to: .mp4 or .gif, any case.
bool IsVideoPath(const std::string& path);

// A recorder for the path's format at `framesPerSecond` (1 to 100). Throws
// std::runtime_error naming the file when it cannot be opened.
std::unique_ptr<FrameRecorder> OpenFrameRecorder(const std::string& path, int framesPerSecond, cv::Size frameSize);
