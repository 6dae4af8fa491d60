#include "PictureOutput.h"

#include <opencv2/imgcodecs.hpp>
#include <stdexcept>

#include "AtomicFile.h"
#include "PixelZoom.h"
#include "SimulationRun.h"

void WritePicture(const std::string& option, const std::string& path, const cv::Mat& image)
{
    cv::Mat upright;
    cv::flip(image, upright, 0);
    AtomicFile file(path);
    bool written = false;
    try {
        written = file.IsOpen() && cv::imwrite(file.TemporaryPath(), upright) && file.Commit();
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
