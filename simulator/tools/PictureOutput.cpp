#include "PictureOutput.h"

#include <opencv2/imgcodecs.hpp>
#include <stdexcept>

void WritePicture(const std::string& option, const std::string& path, const cv::Mat& image)
{
    cv::Mat upright;
    cv::flip(image, upright, 0);
    bool written = false;
    try {
        written = cv::imwrite(path, upright);
    } catch (const cv::Exception&) {
        written = false;
    }
    if (!written) throw std::runtime_error(option + ": cannot write '" + path + "'");
}

cv::Mat ComposeFrame(const cv::Mat& canvas, const cv::Mat& arena)
{
    cv::Mat frame;
    cv::bitwise_and(canvas, arena, frame);
    return frame;
}

cv::Mat UprightFrame(const cv::Mat& canvas, const cv::Mat& arena)
{
    cv::Mat upright;
    cv::flip(ComposeFrame(canvas, arena), upright, 0);
    return upright;
}
