#include "app/statistics.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "stores/number_text.h"

namespace pelmora {

StrengthStatistics strengthStatistics(const std::vector<int>& strengths) {
    StrengthStatistics stats;
    const std::size_t n = strengths.size();
    if (n == 0) {
        stats.mean = stats.stDev = kNotAvailable;
        return stats;
    }
    double sum = 0;
    for (const int x : strengths) {
        sum += x;
    }
    stats.mean = fourDecimalText(sum / static_cast<double>(n));
    const auto meanUnits = static_cast<std::int64_t>(std::llround(decimalParse(stats.mean) * 1e4));

    // The squares are summed as written, then the variance is rounded before its root.
    double squareSum = 0;
    std::vector<double> deviationValues;
    deviationValues.reserve(n);
    stats.deviations.reserve(n);
    stats.squares.reserve(n);
    for (const int x : strengths) {
        const std::int64_t units = std::llabs(std::int64_t{x} * 10000 - meanUnits);
        const double deviation = static_cast<double>(units) / 1e4;
        stats.deviations.push_back(fourDecimalText(deviation));
        stats.squares.push_back(doubleText(static_cast<double>(units * units) / 1e8));
        squareSum += decimalParse(stats.squares.back());
        deviationValues.push_back(decimalParse(stats.deviations.back()));
    }
    if (n < 2) {
        stats.stDev = kNotAvailable;
        return stats;
    }
    const double variance = decimalParse(fourDecimalText(squareSum / static_cast<double>(n - 1)));
    stats.stDev = fourDecimalText(std::sqrt(variance));
    const double stDev = decimalParse(stats.stDev);
    if (stDev == 0) {
        return stats;
    }
    for (std::size_t i = 0; i < n; ++i) {
        const double quotient = decimalParse(fourDecimalText(deviationValues[i] / stDev));
        if (quotient > kSignificanceLimit) {
            stats.significant.push_back(i);
        }
    }
    return stats;
}

}  // namespace pelmora
