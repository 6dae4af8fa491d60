#include <opencv2/imgproc.hpp>
#include <vector>

#include "world/Degrees.h"
#include "world/FreeMap.h"
#include "world/PixelCoordinate.h"
#include "world/RobotSimulation.h"

namespace {

const cv::Scalar kWhite(255, 255, 255);
const cv::Scalar kBlack(0, 0, 0);

}  // namespace

void RobotSimulation::GenerateArena(double polygonRadius, int obstacleCount)
{
    // Where obstacle centres may fall: an inner square, far enough from the walls for
    // the robot to pass, less a disc that keeps the start position clear.
    arena.setTo(kBlack);
    const int margin = TruncateToPixel(3.4 * radius + polygonRadius);
    cv::rectangle(arena, cv::Point(margin + 4, margin + 4), cv::Point(width - margin - 4, height - margin - 4), kWhite,
                  cv::FILLED, cv::LINE_8);
    cv::circle(arena, cv::Point(width / 2, height / 2), TruncateToPixel(2.6 * wheelBase), kBlack, cv::FILLED,
               cv::LINE_8);

    std::vector<cv::Point> centres;
    centres.reserve(obstacleCount > 0 ? obstacleCount : 0);
    while (static_cast<int>(centres.size()) < obstacleCount) {
        const int x = static_cast<int>(rng.Next() % static_cast<unsigned>(width));
        const int y = static_cast<int>(rng.Next() % static_cast<unsigned>(height));
        if (arena.ptr<cv::Vec3b>(y)[x][0] != 0) centres.emplace_back(x, y);
    }

    arena.setTo(kWhite);
    cv::Point vertices[10];
    for (const cv::Point& centre : centres) {
        const int vertexCount = static_cast<int>(rng.Next() & 7u) + 3;
        const unsigned sectorDegrees = 360u / static_cast<unsigned>(vertexCount);
        for (int i = 0; i < vertexCount; ++i) {
            const unsigned degrees = static_cast<unsigned>(i) * sectorDegrees + rng.Next() % sectorDegrees;
            const double a = degrees * kDegreesToRadians;
            vertices[i] = cv::Point(centre.x + TruncateToPixel(polygonRadius * std::cos(a)),
                                    centre.y + TruncateToPixel(polygonRadius * std::sin(a)));
        }
        const double c1 = rng.Next() % 255u;
        const double c2 = rng.Next() % 255u;
        const double c3 = rng.Next() % 255u;
        const cv::Point* contour = vertices;
        cv::fillPoly(arena, &contour, &vertexCount, 1, cv::Scalar(c3, c2, c1), cv::LINE_AA, 0);
        // The outline keeps the fractional two thirds; OpenCV rounds it when it paints.
        constexpr double kTwoThirds = 0.6666666666666666;
        cv::polylines(arena, &contour, &vertexCount, 1, true,
                      cv::Scalar(kTwoThirds * c3, kTwoThirds * c2, kTwoThirds * c1), 1, cv::LINE_8, 0);
    }

    cv::rectangle(arena, cv::Point(0, 0), cv::Point(width - 2, height - 2), cv::Scalar(0, 255, 0), 2, cv::LINE_8);
    cv::rectangle(arena, cv::Point(3, 3), cv::Point(width - 4, height - 4), cv::Scalar(0, 168, 0), 2, cv::LINE_AA);

    BuildFreeMap(arena, freeMap, TruncateToPixel(0.65 * wheelBase));
    beamClearance.Build(arena);
}
