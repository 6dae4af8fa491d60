#include "tuner/ScoreChart.h"

#include <algorithm>
#include <cmath>
#include <opencv2/imgproc.hpp>
#include <string>

#include "common/NumberText.h"
#include "common/PrintableText.h"

namespace {

constexpr int kRowHeight = 30;
constexpr int kHeaderHeight = 50;
constexpr int kMargin = 10;
constexpr int kNameWidth = 240;
constexpr int kPanelWidth = 300;
constexpr int kPanelGap = 30;
constexpr int kCoverageWidth = 200;
constexpr int kWidth = kMargin + kNameWidth + 2 * (kPanelWidth + kPanelGap) + kCoverageWidth;
constexpr int kFont = cv::FONT_HERSHEY_SIMPLEX;
constexpr double kFontScale = 0.45;
const cv::Scalar kInk(30, 30, 30);
const cv::Scalar kGrey(170, 170, 170);
const cv::Scalar kCollisionColour(60, 60, 220);  // OpenCV's order: blue, green, red
const cv::Scalar kSpeedColour(200, 130, 40);
const cv::Scalar kUnreadableColour(0, 0, 200);

void Write(cv::Mat& image, const std::string& text, cv::Point at, const cv::Scalar& colour)
{
    cv::putText(image, text, at, kFont, kFontScale, colour, 1, cv::LINE_AA);
}

// Hershey fonts draw ASCII only: anything else shows as its escape, and a name too long
// for its column loses its start, the file name being the part that tells tables apart.
std::string Label(const std::string& name)
{
    std::string label = PrintableText(name);
    for (char& c : label)
        if (static_cast<unsigned char>(c) >= 0x80) c = '?';
    int baseline = 0;
    while (label.size() > 4 && cv::getTextSize(label, kFont, kFontScale, 1, &baseline).width > kNameWidth - kMargin)
        label = "..." + label.substr(4);
    return label;
}

struct Panel {
    int left;
    double largest;  // the figure at the panel's right end
    cv::Scalar colour;

    int X(double value) const
    {
        const double clamped = std::clamp(value, 0.0, largest);
        return left + static_cast<int>(std::lround(clamped / largest * kPanelWidth));
    }
};

double LargestEnd(const std::vector<TableScore>& rows, MeanInterval TableScore::*figure)
{
    double largest = 0;
    for (const TableScore& row : rows) {
        if (!row.Scored()) continue;
        const MeanInterval& value = row.*figure;
        for (double end : {value.mean, value.high.value_or(value.mean)})
            if (std::isfinite(end)) largest = std::max(largest, end);
    }
    return largest > 0 ? largest : 1.0;
}

void DrawHeading(cv::Mat& image, const Panel& panel, const std::string& title, int decimals)
{
    Write(image, title, {panel.left, 20}, kInk);
    const int axis = kHeaderHeight - 8;
    cv::line(image, {panel.left, axis}, {panel.left + kPanelWidth, axis}, kGrey);
    Write(image, "0", {panel.left, axis - 4}, kGrey);
    const std::string end = FixedDecimals(panel.largest, decimals);
    int baseline = 0;
    const int width = cv::getTextSize(end, kFont, kFontScale, 1, &baseline).width;
    Write(image, end, {panel.left + kPanelWidth - width, axis - 4}, kGrey);
}

void DrawBar(cv::Mat& image, const Panel& panel, const MeanInterval& figure, int top)
{
    const int middle = top + kRowHeight / 2;
    if (std::isfinite(figure.mean))
        cv::rectangle(image, cv::Point(panel.left, middle - 7), cv::Point(panel.X(figure.mean), middle + 7),
                      panel.colour, cv::FILLED);
    if (!figure.low || !figure.high || !std::isfinite(*figure.low) || !std::isfinite(*figure.high)) return;
    const int low = panel.X(*figure.low), high = panel.X(*figure.high);
    cv::line(image, {low, middle}, {high, middle}, kInk, 1);
    cv::line(image, {low, middle - 5}, {low, middle + 5}, kInk, 1);
    cv::line(image, {high, middle - 5}, {high, middle + 5}, kInk, 1);
}

}  // namespace

cv::Mat DrawScoreChart(const std::vector<TableScore>& rows)
{
    const int height = kHeaderHeight + static_cast<int>(rows.size()) * kRowHeight + kMargin;
    cv::Mat image(height, kWidth, CV_8UC3, cv::Scalar(255, 255, 255));
    const int firstPanel = kMargin + kNameWidth;
    const Panel collisions{firstPanel, LargestEnd(rows, &TableScore::collisions), kCollisionColour};
    const Panel speed{firstPanel + kPanelWidth + kPanelGap, LargestEnd(rows, &TableScore::speed), kSpeedColour};
    const int coverageLeft = speed.left + kPanelWidth + kPanelGap;
    Write(image, "table (best first)", {kMargin, 20}, kInk);
    DrawHeading(image, collisions, "collisions / 1000 passes", 2);
    DrawHeading(image, speed, "speed (px/pass)", 2);
    Write(image, "coverage", {coverageLeft, 20}, kInk);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TableScore& row = rows[i];
        const int top = kHeaderHeight + static_cast<int>(i) * kRowHeight;
        const int textLine = top + kRowHeight / 2 + 5;
        if (i % 2 == 1)
            cv::rectangle(image, cv::Rect(0, top, kWidth, kRowHeight), cv::Scalar(245, 245, 245), cv::FILLED);
        Write(image, Label(row.name), {kMargin, textLine}, kInk);
        if (!row.Scored()) {
            Write(image, "cannot be read", {firstPanel, textLine}, kUnreadableColour);
            continue;
        }
        DrawBar(image, collisions, row.collisions, top);
        DrawBar(image, speed, row.speed, top);
        std::string coverage = FixedDecimals(row.coverage.mean * 100, 1) + " %";
        if (row.coverage.low && row.coverage.high)
            coverage += " [" + FixedDecimals(*row.coverage.low * 100, 1) + ", " +
                        FixedDecimals(*row.coverage.high * 100, 1) + "]";
        Write(image, coverage, {coverageLeft, textLine}, kInk);
    }
    return image;
}
