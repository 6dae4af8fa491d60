#include "DriveScore.h"

#include <algorithm>
#include <cmath>

void AddDrive(DriveTotals& totals, const DriveFigures& drive)
{
    ++totals.runs;
    totals.seconds += drive.tally.seconds;
    totals.distanceMm += drive.tally.distanceMm;
    totals.contacts += drive.tally.contacts;
    totals.minClearanceMm = std::min(totals.minClearanceMm, drive.tally.minClearanceMm);
    totals.coverageSum += drive.coverage;
}

double MeanSpeedMmPerS(const DriveTotals& totals)
{
    return totals.seconds > 0 ? totals.distanceMm / totals.seconds : 0;
}

double ContactsPerMinute(const DriveTotals& totals)
{
    return totals.seconds > 0 ? totals.contacts * 60.0 / totals.seconds : 0;
}

double MeanCoverage(const DriveTotals& totals)
{
    return totals.runs > 0 ? totals.coverageSum / totals.runs : 0;
}

double DriveScore(const DriveTotals& totals, double contactWeight)
{
    return MeanSpeedMmPerS(totals) * MeanCoverage(totals) * std::exp(-contactWeight * ContactsPerMinute(totals));
}
