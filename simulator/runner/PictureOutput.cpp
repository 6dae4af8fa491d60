#include "runner/PictureOutput.h"

#include <algorithm>

#include <opencv2/imgcodecs.hpp>
#include <stdexcept>

#include "common/AtomicFile.h"
#include "common/CommandLineValues.h"
#include "world/PixelZoom.h"
#include "world/SimulationRun.h"

void WritePicture(const std::string& option, const std::string& path, const cv::Mat& image)
{
    cv::Mat upright;
    cv::flip(image, upright, 0);
    WriteImage(option, path, upright);
}

void WriteImage(const std::string& option, const std::string& path, const cv::Mat& image)
{
    AtomicFile file(path);
    bool written = false;
    try {
        written = file.IsOpen() && cv::imwrite(file.TemporaryPath(), image) && file.Commit();
    } catch (const cv::Exception&) {
        written = false;
    }
    if (!written)
        throw std::runtime_error(option + ": cannot write '" + path + "'" +
                                 (file.Error().empty() ? "" : " (" + file.Error() + ")"));
}

cv::Mat EnlargedFrame(const RobotSimulation& sim, int zoom)
{
    cv::Mat enlarged;
    EnlargePixels(ComposeFrame(sim), zoom, enlarged);
    return enlarged;
}

cv::Mat UprightFrame(const RobotSimulation& sim, int zoom)
{
    cv::Mat upright;
    cv::flip(EnlargedFrame(sim, zoom), upright, 0);
    return upright;
}

cv::Size SideBySideSize(cv::Size left, cv::Size right)
{
    return {left.width + right.width, std::max(left.height, right.height)};
}

cv::Mat SideBySide(const cv::Mat& left, const cv::Mat& right)
{
    cv::Mat both(SideBySideSize(left.size(), right.size()), CV_8UC3, cv::Scalar(255, 255, 255));
    left.copyTo(both(cv::Rect(0, 0, left.cols, left.rows)));
    right.copyTo(both(cv::Rect(left.cols, 0, right.cols, right.rows)));
    return both;
}

std::string PicturePath(const std::string& option, const std::string& path)
{
    if (path.empty() || !cv::haveImageWriter(path))
        throw UsageError(option + ": cannot write a picture named '" + path + "' (use a .png name)");
    return path;
}
