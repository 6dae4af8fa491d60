#include "FrameRecorder.h"

#include <algorithm>
#include <cctype>
#include <opencv2/videoio.hpp>
#include <stdexcept>

#include "AtomicFile.h"
#include "GifRecorder.h"

namespace {

std::string Extension(const std::string& path)
{
    const std::size_t dot = path.find_last_of("./");
    if (dot == std::string::npos || path[dot] != '.') return {};
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

// MPEG-4 part 2 ('mp4v'): the codec OpenCV's FFmpeg backend writes into .mp4 here
// without falling back to another tag.
class Mp4Recorder : public FrameRecorder {
public:
    Mp4Recorder(const std::string& path, int framesPerSecond, cv::Size frameSize)
        : path_(path), file_(path), size_(frameSize)
    {
        if (file_.IsOpen())
            writer_.open(file_.TemporaryPath(), cv::CAP_FFMPEG, cv::VideoWriter::fourcc('m', 'p', '4', 'v'),
                         framesPerSecond, frameSize);
        if (!writer_.isOpened()) throw std::runtime_error("--video: cannot write '" + path_ + "'" + Because());
    }

    void Add(const cv::Mat& frame) override
    {
        if (frame.size() != size_ || frame.type() != CV_8UC3)
            throw std::runtime_error("--video: a frame of another size or type for '" + path_ + "'");
        writer_.write(frame);
    }

    void Finish() override
    {
        writer_.release();
        if (!file_.Commit()) throw std::runtime_error("--video: cannot write '" + path_ + "'" + Because());
    }

private:
    std::string Because() const { return file_.Error().empty() ? "" : ": " + file_.Error(); }

    std::string path_;
    AtomicFile file_;
    cv::Size size_;
    cv::VideoWriter writer_;
};

}  // namespace

bool IsVideoPath(const std::string& path)
{
    const std::string extension = Extension(path);
    return extension == "mp4" || extension == "gif";
}

std::unique_ptr<FrameRecorder> OpenFrameRecorder(const std::string& path, int framesPerSecond, cv::Size frameSize)
{
    if (Extension(path) == "gif") return OpenGifRecorder(path, framesPerSecond, frameSize);
    if (Extension(path) == "mp4") return std::make_unique<Mp4Recorder>(path, framesPerSecond, frameSize);
    throw std::runtime_error("--video: cannot write a video named '" + path + "' (use .mp4 or .gif)");
}
