#include "tuner/FrontChart.h"

#include <algorithm>
#include <map>
#include <opencv2/imgproc.hpp>
#include <string>

#include "common/NumberText.h"

namespace {

constexpr int kWidth = 960, kHeight = 640;
constexpr int kLeft = 80, kRight = 150, kTop = 70, kBottom = 70;
const cv::Scalar kInk(40, 40, 40), kGrid(225, 225, 225), kWritten(0, 0, 220), kBalanced(140, 140, 140);

void Text(cv::Mat& chart, const std::string& text, cv::Point at, double scale = 0.45)
{
    cv::putText(chart, text, at, cv::FONT_HERSHEY_SIMPLEX, scale, kInk, 1, cv::LINE_AA);
}

// Colours of viridis: dark blue for a table that enters nothing, yellow for the most.
cv::Mat CoverageColours()
{
    cv::Mat ramp(256, 1, CV_8UC1);
    for (int i = 0; i < 256; ++i) ramp.at<unsigned char>(i) = static_cast<unsigned char>(i);
    cv::Mat colours;
    cv::applyColorMap(ramp, colours, cv::COLORMAP_VIRIDIS);
    return colours;
}

}  // namespace

cv::Mat DrawFrontChart(const TuningFront& front, std::size_t written)
{
    cv::Mat chart(kHeight, kWidth, CV_8UC3, cv::Scalar(255, 255, 255));
    const cv::Rect plot(kLeft, kTop, kWidth - kLeft - kRight, kHeight - kTop - kBottom);

    // The axes reach the fastest table, and twice the front's worst collisions: the
    // tables that collide far more than that are of no interest and sit on the top edge.
    double maxSpeed = 0.1, maxCollisions = 0, maxCoverage = 0;
    for (const MetTable& met : front.met) {
        maxSpeed = std::max(maxSpeed, met.tuning.MeanSpeed());
        maxCoverage = std::max(maxCoverage, met.tuning.InteriorShare());
        if (met.frontRank > 0) maxCollisions = std::max(maxCollisions, met.tuning.CollisionsPer1000Passes());
    }
    maxSpeed *= 1.05;
    maxCollisions = std::max(2 * maxCollisions, 1.0);
    maxCoverage = std::max(maxCoverage, 0.01);
    auto place = [&](const RunTotals& totals) {
        const double x = totals.MeanSpeed() / maxSpeed;
        const double y = std::min(totals.CollisionsPer1000Passes() / maxCollisions, 1.0);
        return cv::Point(plot.x + static_cast<int>(x * plot.width + 0.5),
                         plot.y + plot.height - static_cast<int>(y * plot.height + 0.5));
    };

    constexpr int kTicks = 5;
    for (int t = 0; t <= kTicks; ++t) {
        const int x = plot.x + plot.width * t / kTicks, y = plot.y + plot.height - plot.height * t / kTicks;
        cv::line(chart, {x, plot.y}, {x, plot.y + plot.height}, kGrid, 1, cv::LINE_8);
        cv::line(chart, {plot.x, y}, {plot.x + plot.width, y}, kGrid, 1, cv::LINE_8);
        Text(chart, FixedDecimals(maxSpeed * t / kTicks, 2), {x - 15, plot.y + plot.height + 20});
        Text(chart, FixedDecimals(maxCollisions * t / kTicks, 2), {plot.x - 55, y + 5});
    }
    cv::rectangle(chart, plot, kInk, 1, cv::LINE_8);
    Text(chart, "mean speed (pixels per pass), tuning arenas", {plot.x + plot.width / 2 - 170, kHeight - 20}, 0.5);
    Text(chart, "collisions per 1000 passes, tuning arenas", {10, kTop - 14}, 0.5);
    Text(chart, "Tables met by the search; the front joined, with its ranks for --pick; the table written in red",
         {kLeft, 24}, 0.5);

    const cv::Mat colours = CoverageColours();
    auto colourOf = [&](double coverage) {
        const int level = std::clamp(static_cast<int>(coverage / maxCoverage * 255 + 0.5), 0, 255);
        const cv::Vec3b c = colours.at<cv::Vec3b>(level);
        return cv::Scalar(c[0], c[1], c[2]);
    };
    // The colour scale at the right.
    const cv::Rect bar(kWidth - kRight + 40, plot.y, 20, plot.height);
    for (int row = 0; row < bar.height; ++row)
        cv::line(chart, {bar.x, bar.y + row}, {bar.x + bar.width - 1, bar.y + row},
                 colourOf(maxCoverage * (bar.height - 1 - row) / (bar.height - 1)), 1, cv::LINE_8);
    cv::rectangle(chart, bar, kInk, 1, cv::LINE_8);
    Text(chart, FixedDecimals(maxCoverage, 2), {bar.x + bar.width + 5, bar.y + 10});
    Text(chart, "0", {bar.x + bar.width + 5, bar.y + bar.height});
    Text(chart, "interior", {bar.x - 15, bar.y - 10});

    std::map<int, cv::Point> frontPoints;
    for (const MetTable& met : front.met) {
        cv::circle(chart, place(met.tuning), 3, colourOf(met.tuning.InteriorShare()), cv::FILLED, cv::LINE_AA);
        if (met.frontRank > 0) frontPoints[met.frontRank] = place(met.tuning);
    }
    const cv::Point* previous = nullptr;
    for (const auto& [rank, point] : frontPoints) {
        if (previous) cv::line(chart, *previous, point, kInk, 1, cv::LINE_AA);
        cv::circle(chart, point, 5, kInk, 1, cv::LINE_AA);
        Text(chart, std::to_string(rank), point + cv::Point(6, -6), 0.4);
        previous = &point;
    }
    auto ring = [&](std::size_t index, const cv::Scalar& colour, const char* label) {
        if (index >= front.met.size()) return;
        const cv::Point at = place(front.met[index].tuning);
        cv::circle(chart, at, 9, colour, 2, cv::LINE_AA);
        cv::putText(chart, label, at + cv::Point(-30, 26), cv::FONT_HERSHEY_SIMPLEX, 0.45, colour, 1, cv::LINE_AA);
    };
    if (written != front.chosen) ring(front.chosen, kBalanced, "balanced");
    ring(written, kWritten, "written");
    return chart;
}
