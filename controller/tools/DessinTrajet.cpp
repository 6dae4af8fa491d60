#include "DessinTrajet.h"

#include <algorithm>
#include <cmath>
#include <string>

#include <opencv2/imgproc.hpp>

namespace {
constexpr int kMarge = 50;
const cv::Scalar kBlanc(255, 255, 255);
const cv::Scalar kNoir(0, 0, 0);
const cv::Scalar kTrait(160, 60, 0);
const cv::Scalar kDepart(0, 170, 0);
const cv::Scalar kArrivee(0, 0, 220);
}  // namespace

double LongueurEchelleMm(double maxMm)
{
    double puissance = std::pow(10.0, std::floor(std::log10(std::max(maxMm, 1.0))));
    for (double facteur : {5.0, 2.0, 1.0})
        if (facteur * puissance <= maxMm) return facteur * puissance;
    return puissance;
}

cv::Mat DessinerTrajet(const std::vector<PointTrajet>& trajet, int cotePixels)
{
    cv::Mat image(cotePixels, cotePixels, CV_8UC3, kBlanc);
    if (trajet.empty()) return image;
    double xMin = trajet[0].xMm, xMax = xMin, yMin = trajet[0].yMm, yMax = yMin;
    for (const PointTrajet& p : trajet) {
        xMin = std::min(xMin, p.xMm);
        xMax = std::max(xMax, p.xMm);
        yMin = std::min(yMin, p.yMm);
        yMax = std::max(yMax, p.yMm);
    }
    // A path that never moved still gets a metre-wide view rather than a division by zero.
    const double etendue = std::max({xMax - xMin, yMax - yMin, 1000.0});
    const double pixelsParMm = (cotePixels - 2 * kMarge) / etendue;
    const double xCentre = (xMin + xMax) / 2;
    const double yCentre = (yMin + yMax) / 2;
    auto pixel = [&](const PointTrajet& p) {
        return cv::Point(static_cast<int>(std::lround(cotePixels / 2.0 + (p.xMm - xCentre) * pixelsParMm)),
                         static_cast<int>(std::lround(cotePixels / 2.0 - (p.yMm - yCentre) * pixelsParMm)));
    };
    std::vector<cv::Point> points;
    points.reserve(trajet.size());
    for (const PointTrajet& p : trajet) points.push_back(pixel(p));
    cv::polylines(image, points, false, kTrait, 2, cv::LINE_AA);
    cv::circle(image, points.front(), 7, kDepart, cv::FILLED, cv::LINE_AA);
    cv::circle(image, points.back(), 7, kArrivee, cv::FILLED, cv::LINE_AA);

    const double echelleMm = LongueurEchelleMm(etendue / 4);
    const int longueur = static_cast<int>(std::lround(echelleMm * pixelsParMm));
    const cv::Point gauche(kMarge, cotePixels - kMarge / 2);
    const cv::Point droite(kMarge + longueur, cotePixels - kMarge / 2);
    cv::line(image, gauche, droite, kNoir, 2);
    cv::line(image, gauche - cv::Point(0, 5), gauche + cv::Point(0, 5), kNoir, 2);
    cv::line(image, droite - cv::Point(0, 5), droite + cv::Point(0, 5), kNoir, 2);
    cv::putText(image, std::to_string(static_cast<long>(echelleMm)) + " mm", droite + cv::Point(10, 5),
                cv::FONT_HERSHEY_SIMPLEX, 0.5, kNoir, 1, cv::LINE_AA);
    cv::putText(image, "depart", points.front() + cv::Point(10, -10), cv::FONT_HERSHEY_SIMPLEX, 0.5, kDepart, 1,
                cv::LINE_AA);
    cv::putText(image, "arrivee", points.back() + cv::Point(10, -10), cv::FONT_HERSHEY_SIMPLEX, 0.5, kArrivee, 1,
                cv::LINE_AA);
    return image;
}
