#include "tuner/MeanInterval.h"

#include <cmath>
#include <iterator>

namespace {

struct QuantileRow {
    long long degrees;
    double quantile;
};

// 0.975 quantiles of Student's t; past 120 degrees they approach the normal's 1.959964.
constexpr QuantileRow kQuantiles[] = {
    {1, 12.706205}, {2, 4.302653},  {3, 3.182446},  {4, 2.776445},  {5, 2.570582},  {6, 2.446912},  {7, 2.364624},
    {8, 2.306004},  {9, 2.262157},  {10, 2.228139}, {11, 2.200985}, {12, 2.178813}, {13, 2.160369}, {14, 2.144787},
    {15, 2.131450}, {16, 2.119905}, {17, 2.109816}, {18, 2.100922}, {19, 2.093024}, {20, 2.085963}, {21, 2.079614},
    {22, 2.073873}, {23, 2.068658}, {24, 2.063899}, {25, 2.059539}, {26, 2.055529}, {27, 2.051831}, {28, 2.048407},
    {29, 2.045230}, {30, 2.042272}, {40, 2.021075}, {60, 2.000298}, {120, 1.979930}};
constexpr double kNormalQuantile = 1.959964;

}  // namespace

double StudentQuantile95(long long degreesOfFreedom)
{
    const long long degrees = degreesOfFreedom < 1 ? 1 : degreesOfFreedom;
    const QuantileRow* previous = nullptr;
    for (const QuantileRow& row : kQuantiles) {
        if (row.degrees == degrees) return row.quantile;
        if (row.degrees > degrees) {
            // The quantile is close to linear in 1 / degrees between the table's rows.
            const double at = 1.0 / static_cast<double>(degrees);
            const double from = 1.0 / static_cast<double>(previous->degrees);
            const double to = 1.0 / static_cast<double>(row.degrees);
            return row.quantile + (previous->quantile - row.quantile) * (at - to) / (from - to);
        }
        previous = &row;
    }
    const QuantileRow& last = kQuantiles[std::size(kQuantiles) - 1];
    return kNormalQuantile +
           (last.quantile - kNormalQuantile) * static_cast<double>(last.degrees) / static_cast<double>(degrees);
}

MeanInterval MeanWithInterval(const std::vector<double>& values)
{
    MeanInterval result;
    if (values.empty()) return result;
    const double n = static_cast<double>(values.size());
    double sum = 0;
    for (double value : values) sum += value;
    result.mean = sum / n;
    if (values.size() < 2) return result;
    double squares = 0;
    for (double value : values) squares += (value - result.mean) * (value - result.mean);
    const double halfWidth =
        StudentQuantile95(static_cast<long long>(values.size()) - 1) * std::sqrt(squares / (n - 1.0)) / std::sqrt(n);
    result.low = result.mean - halfWidth;
    result.high = result.mean + halfWidth;
    return result;
}
