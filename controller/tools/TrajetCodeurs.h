#pragma once
#include <istream>
#include <string>
#include <vector>

// The robot's path rebuilt from the trajectory log's encoder counts by dead reckoning.

struct LectureCodeurs {
    int tempsMs;
    unsigned gauche;  // 16-bit counts as logged, 0 .. 65535
    unsigned droite;
};

// The robot's centre in millimetres from where the log starts, heading along +x at the
// start, angles counter-clockwise.
struct PointTrajet {
    double xMm;
    double yMm;
    double capRad;
};

// The log's lines " %6d %6d %6d": time, left count, right count. False with `erreur` set
// (naming the line) for a line that is not three numbers with counts in 0 .. 65535.
bool LireJournalParcours(std::istream& journal, std::vector<LectureCodeurs>& lectures, std::string& erreur);

// One point per reading, the first at the origin. Each step takes the count differences
// as signed 16-bit numbers, so a counter rolling over either way is a small step.
std::vector<PointTrajet> ReconstruireTrajet(const std::vector<LectureCodeurs>& lectures);

// The length of the path, in millimetres.
double LongueurTrajet(const std::vector<PointTrajet>& trajet);
