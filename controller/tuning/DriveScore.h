#pragma once
#include "SimulatedDrive.h"

#include <limits>

// Drives summed up, and what they are worth. The score is the mean speed over the floor
// (mm/s), times the mean share of the floor covered, times exp(-W x contacts per minute):
// a table that stands or spins on the spot covers nothing and scores 0 however safe it
// is; one that drives fast but back and forth in a corner covers little; every contact
// costs the same fraction of the score, so no speed buys a table out of touching the
// furniture, and W = 2 takes 86 % of it for a contact a minute.
struct DriveTotals {
    int runs = 0;
    double seconds = 0;
    double distanceMm = 0;
    int contacts = 0;
    double minClearanceMm = std::numeric_limits<double>::infinity();
    double coverageSum = 0;
};

constexpr double kDefaultContactWeight = 2;

void AddDrive(DriveTotals& totals, const DriveFigures& drive);
double MeanSpeedMmPerS(const DriveTotals& totals);
double ContactsPerMinute(const DriveTotals& totals);
double MeanCoverage(const DriveTotals& totals);
double DriveScore(const DriveTotals& totals, double contactWeight);
