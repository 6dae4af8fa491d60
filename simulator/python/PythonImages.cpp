#include "python/PythonImages.h"

#include <cstring>
#include <opencv2/imgproc.hpp>

namespace py = pybind11;

cv::Mat RgbOf(const cv::Mat& uprightBgr)
{
    cv::Mat rgb;
    cv::cvtColor(uprightBgr, rgb, cv::COLOR_BGR2RGB);
    return rgb;
}

py::array_t<std::uint8_t> ArrayOf(const cv::Mat& rgb)
{
    py::array_t<std::uint8_t> array({rgb.rows, rgb.cols, 3});
    const cv::Mat continuous = rgb.isContinuous() ? rgb : rgb.clone();
    std::memcpy(array.mutable_data(), continuous.data, continuous.total() * continuous.elemSize());
    return array;
}

py::array_t<std::uint8_t> UprightRgb(const cv::Mat& image)
{
    cv::Mat upright;
    cv::flip(image, upright, 0);
    return ArrayOf(RgbOf(upright));
}
