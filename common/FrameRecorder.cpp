#include "common/FrameRecorder.h"

#include <algorithm>
#include <cctype>
#include <opencv2/videoio.hpp>
#include <stdexcept>

#include "common/AtomicFile.h"
#include "common/GifRecorder.h"

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
        : m_path(path), m_file(path), m_size(frameSize)
    {
        if (m_file.IsOpen())
            m_writer.open(m_file.TemporaryPath(), cv::CAP_FFMPEG, cv::VideoWriter::fourcc('m', 'p', '4', 'v'),
                          framesPerSecond, frameSize);
        if (!m_writer.isOpened()) throw std::runtime_error("--video: cannot write '" + m_path + "'" + Because());
    }

    void Add(const cv::Mat& frame) override
    {
        if (frame.size() != m_size || frame.type() != CV_8UC3)
            throw std::runtime_error("--video: a frame of another size or type for '" + m_path + "'");
        m_writer.write(frame);
    }

    void Finish() override
    {
        m_writer.release();
        if (!m_file.Commit()) throw std::runtime_error("--video: cannot write '" + m_path + "'" + Because());
    }

private:
    std::string Because() const { return m_file.Error().empty() ? "" : ": " + m_file.Error(); }

    std::string m_path;
    AtomicFile m_file;
    cv::Size m_size;
    cv::VideoWriter m_writer;
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
