#pragma once
#include <optional>
#include <vector>

// The mean of some measurements and the 95 % confidence interval of that mean: Student's
// t with n - 1 degrees of freedom over the sample's standard deviation. Arenas differ a
// lot, so thirty of them leave a mean known only to within its interval.
struct MeanInterval {
    double mean = 0;
    // Nothing for fewer than two measurements: one says nothing about the spread.
    std::optional<double> low;
    std::optional<double> high;
};

MeanInterval MeanWithInterval(const std::vector<double>& values);

// The two-sided 95 % quantile of Student's t (its 0.975 quantile) for these degrees of
// freedom, at least 1; from a table, interpolated in 1 / degrees between its rows.
double StudentQuantile95(long long degreesOfFreedom);
