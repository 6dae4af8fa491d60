#include <cmath>
#include <opencv2/imgproc.hpp>

#include "world/PixelCoordinate.h"
#include "world/RobotSimulation.h"

void RobotSimulation::SetGeometry(double wheelBase, double bodyWidth, double wheelLength)
{
    this->wheelBase = wheelBase;
    this->bodyWidth = bodyWidth;
    this->wheelLength = wheelLength;
    radius = std::sqrt(wheelBase * wheelBase + bodyWidth * bodyWidth) * 0.5 + 1.0;
}

void RobotSimulation::SetPose(double x, double y, double heading, double steer)
{
    rearX = x;
    rearY = y;
    this->heading = heading;
    this->steer = steer;
    speed = 0;
    forwardSpeed = 0;
    frontX = x + wheelBase * std::cos(heading);
    frontY = y + wheelBase * std::sin(heading);
    centerX = std::trunc((frontX + x) * 0.5);
    centerY = std::trunc((frontY + y) * 0.5);
    distance = 0;
}

void RobotSimulation::Step()
{
    const double oldCenterX = centerX;
    const double oldCenterY = centerY;
    forwardSpeed = speed * std::cos(steer);
    heading = heading + forwardSpeed * std::tan(steer) / wheelBase;
    const double c = std::cos(heading);
    const double s = std::sin(heading);
    rearX += forwardSpeed * c;
    rearY += forwardSpeed * s;
    frontX = rearX + wheelBase * c;
    frontY = rearY + wheelBase * s;
    centerX = std::trunc((frontX + rearX) * 0.5);
    centerY = std::trunc((frontY + rearY) * 0.5);
    const double dx = oldCenterX - centerX;
    const double dy = oldCenterY - centerY;
    distance += std::sqrt(dx * dx + dy * dy);
}

void RobotSimulation::DrawRobot(bool highlighted)
{
    const double h = heading;
    const double k = highlighted ? 255 : 0;
    const double halfWidth = bodyWidth / 2;
    const double halfWheel = wheelLength / 2;
    canvas.setTo(cv::Scalar(255, 255, 255));

    const cv::Point rightAnchor(TruncateToPixel(rearX + halfWidth * std::sin(h)),
                                TruncateToPixel(rearY - halfWidth * std::cos(h)));
    const cv::Point leftAnchor(TruncateToPixel(rearX - halfWidth * std::sin(h)),
                               TruncateToPixel(rearY + halfWidth * std::cos(h)));

    const cv::Point centre(TruncateToPixel(centerX), TruncateToPixel(centerY));
    const int bodyRadius = TruncateToPixel(radius);
    cv::circle(canvas, centre, bodyRadius, cv::Scalar(k, k, 255 - k), cv::FILLED, cv::LINE_AA, 0);
    cv::circle(canvas, centre, bodyRadius, cv::Scalar(k, 255 - k, 255 - k), 1, cv::LINE_AA, 0);

    const double a = h + steer;
    const cv::Point frontWheel(TruncateToPixel(frontX - halfWheel * std::cos(h)),
                               TruncateToPixel(frontY - halfWheel * std::sin(h)));
    const cv::Point halfFrontWheel(TruncateToPixel(halfWheel * std::cos(a)), TruncateToPixel(halfWheel * std::sin(a)));
    cv::line(canvas, frontWheel + halfFrontWheel, frontWheel - halfFrontWheel, cv::Scalar(0, 0, 0), 2, cv::LINE_AA, 0);

    const cv::Point rearWheel(TruncateToPixel(wheelLength * std::cos(h)), TruncateToPixel(wheelLength * std::sin(h)));
    cv::line(canvas, rightAnchor, rightAnchor + rearWheel, cv::Scalar(k, k, k), 2, cv::LINE_AA, 0);
    cv::line(canvas, leftAnchor, leftAnchor + rearWheel, cv::Scalar(k, k, k), 2, cv::LINE_AA, 0);
}
