#include "interop/CommandSurface.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <opencv2/imgproc.hpp>
#include <string>

#include "world/FuzzyInference.h"

namespace {

constexpr int kMapSize = 240;
constexpr int kMarginLeft = 60, kMarginTop = 56, kMarginBottom = 54;
constexpr int kLegendGap = 14, kLegendWidth = 16, kLegendLabels = 56;
constexpr int kPanelWidth = kMarginLeft + kMapSize + kLegendGap + kLegendWidth + kLegendLabels;
constexpr int kPictureWidth = 2 * kPanelWidth;
constexpr int kPictureHeight = kMarginTop + kMapSize + kMarginBottom;
constexpr double kSpanInFars = 3.0;

const cv::Scalar kInk(40, 40, 40), kBackground(255, 255, 255), kNearMark(0, 0, 0), kFarMark(255, 255, 255);

std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", value);
    return text;
}

// Angles diverge around zero: blue steers right, red steers left, white goes straight.
cv::Vec3b AngleColour(double fraction)
{
    const double t = std::clamp(fraction, -1.0, 1.0);
    const auto fade = [](double amount) { return static_cast<uchar>(std::lround(255 * (1 - amount))); };
    return t >= 0 ? cv::Vec3b(fade(t), fade(t), 255) : cv::Vec3b(255, fade(-t), fade(-t));
}

// Speeds run from dark (slow or backwards) to bright (fast).
cv::Vec3b SpeedColour(double fraction)
{
    static const cv::Mat3b palette = [] {
        cv::Mat1b grey(1, 256);
        for (int i = 0; i < 256; ++i) grey(0, i) = static_cast<uchar>(i);
        cv::Mat3b colours;
        cv::applyColorMap(grey, colours, cv::COLORMAP_VIRIDIS);
        return colours;
    }();
    return palette(0, static_cast<int>(std::lround(255 * std::clamp(fraction, 0.0, 1.0))));
}

struct Scale {
    double low, high;
    double Fraction(double value) const { return (value - low) / (high - low); }
};

// Weighted sums of the entries stay between the smallest and the largest entry.
Scale AngleScale(const InferenceTable& table)
{
    double largest = 0;
    for (double angle : table.angles) largest = std::max(largest, std::abs(angle));
    if (largest == 0 || !std::isfinite(largest)) largest = 1;
    return {-largest, largest};
}

Scale SpeedScale(const InferenceTable& table)
{
    const auto [low, high] = std::minmax_element(std::begin(table.speeds), std::end(table.speeds));
    const double lowest = std::min(0.0, *low), highest = std::max(0.0, *high);
    return {lowest, highest > lowest ? highest : lowest + 1};
}

cv::Vec3b Colour(SurfaceMap map, const Scale& scale, double value)
{
    return map == SurfaceMap::Angle ? AngleColour(value / scale.high) : SpeedColour(scale.Fraction(value));
}

void Text(cv::Mat& picture, const std::string& text, cv::Point at, double size = 0.42)
{
    cv::putText(picture, text, at, cv::FONT_HERSHEY_SIMPLEX, size, kInk, 1, cv::LINE_AA);
}

int Offset(double distance, double farDistance)
{
    return static_cast<int>(std::lround(distance / (kSpanInFars * farDistance) * kMapSize));
}

void DrawLegend(cv::Mat& picture, SurfaceMap map, const Scale& scale, int panelX)
{
    const int x = panelX + kMarginLeft + kMapSize + kLegendGap;
    for (int row = 0; row < kMapSize; ++row) {
        const double value = scale.high - (scale.high - scale.low) * (row + 0.5) / kMapSize;
        picture(cv::Rect(x, kMarginTop + row, kLegendWidth, 1)).setTo(cv::Scalar(Colour(map, scale, value)));
    }
    cv::rectangle(picture, cv::Rect(x, kMarginTop, kLegendWidth, kMapSize), kInk);
    for (int i = 0; i <= 2; ++i) {
        const double value = scale.high - (scale.high - scale.low) * i / 2;
        Text(picture, Number(value), cv::Point(x + kLegendWidth + 4, kMarginTop + 5 + i * kMapSize / 2));
    }
}

void DrawAxes(cv::Mat& picture, const cv::Rect& area, double nearDistance, double farDistance)
{
    cv::rectangle(picture, area, kInk);
    for (const double bound : {nearDistance, farDistance}) {
        const cv::Scalar colour = bound == nearDistance ? kNearMark : kFarMark;
        const int across = area.x + Offset(bound, farDistance);
        const int up = area.y + area.height - Offset(bound, farDistance);
        cv::line(picture, cv::Point(across, area.y), cv::Point(across, area.y + area.height - 1), colour, 1);
        cv::line(picture, cv::Point(area.x, up), cv::Point(area.x + area.width - 1, up), colour, 1);
    }
    for (const double tick : {0.0, nearDistance, farDistance, 2 * farDistance, kSpanInFars * farDistance}) {
        const int across = area.x + Offset(tick, farDistance);
        const int up = area.y + area.height - Offset(tick, farDistance);
        cv::line(picture, cv::Point(across, area.y + area.height), cv::Point(across, area.y + area.height + 4), kInk);
        cv::line(picture, cv::Point(area.x - 4, up), cv::Point(area.x, up), kInk);
        if (tick == nearDistance) continue;  // beside far, its label would overlap; the legend names it
        Text(picture, Number(tick), cv::Point(across - 8, area.y + area.height + 17), 0.38);
        Text(picture, Number(tick), cv::Point(area.x - 34, up + 4), 0.38);
    }
    Text(picture, "gauche (px)", cv::Point(area.x + area.width / 2 - 36, area.y + area.height + 34));
    Text(picture, "droite (px)", cv::Point(area.x - 56, area.y - 14));
}

}  // namespace

cv::Point SurfacePoint(SurfaceMap map, double left, double right, double farDistance)
{
    const int panelX = map == SurfaceMap::Angle ? 0 : kPanelWidth;
    const auto cell = [&](double distance) {
        return std::clamp(static_cast<int>(std::floor(distance / (kSpanInFars * farDistance) * kMapSize)), 0,
                          kMapSize - 1);
    };
    return {panelX + kMarginLeft + cell(left), kMarginTop + kMapSize - 1 - cell(right)};
}

cv::Mat DrawCommandSurface(const CommandSurfaceView& view)
{
    cv::Mat3b picture(kPictureHeight, kPictureWidth, cv::Vec3b(255, 255, 255));
    const Scale scales[2] = {AngleScale(view.table), SpeedScale(view.table)};
    const double span = kSpanInFars * view.farDistance;

    for (int row = 0; row < kMapSize; ++row) {
        const double right = (kMapSize - 1 - row + 0.5) * span / kMapSize;
        for (int column = 0; column < kMapSize; ++column) {
            const double left = (column + 0.5) * span / kMapSize;
            const double distances[3] = {left, view.frontDistance, right};
            const FuzzyInference inference = FuzzyInference::From(distances, view.nearDistance, view.farDistance);
            const FuzzyCommand command = WeightedCommand(inference, view.table.angles, view.table.speeds);
            picture(kMarginTop + row, kMarginLeft + column) = Colour(SurfaceMap::Angle, scales[0], command.angle);
            picture(kMarginTop + row, kPanelWidth + kMarginLeft + column) =
                Colour(SurfaceMap::Speed, scales[1], command.speed);
        }
    }

    const char* const titles[2] = {"Angle (degres, + a gauche)", "Vitesse (px par pas)"};
    for (int map = 0; map < 2; ++map) {
        const int panelX = map * kPanelWidth;
        const cv::Rect area(panelX + kMarginLeft, kMarginTop, kMapSize, kMapSize);
        DrawAxes(picture, area, view.nearDistance, view.farDistance);
        DrawLegend(picture, static_cast<SurfaceMap>(map), scales[map], panelX);
        Text(picture, titles[map], cv::Point(area.x, kMarginTop - 34), 0.5);
    }
    Text(picture,
         "avant " + Number(view.frontDistance) + " px    rampe : proche " + Number(view.nearDistance) +
             " (noir), loin " + Number(view.farDistance) + " (blanc)",
         cv::Point(kMarginLeft, kPictureHeight - 6), 0.45);
    return picture;
}
