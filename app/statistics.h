#pragma once
// The statistics of a run's strengths, as texts the report writes.

#include <cstddef>
#include <string>
#include <vector>

namespace pelmora {

// Written where a figure is undefined (no strength for the mean, fewer than two for the
// deviation).
inline constexpr const char* kNotAvailable = "n/a";

inline constexpr double kSignificanceLimit = 1.65;

struct StrengthStatistics {
    std::string mean;                      // four-decimal text, or "n/a"
    std::string stDev;                     // sample standard deviation, or "n/a"
    std::vector<std::string> deviations;   // |mean - x| per strength, four-decimal texts
    std::vector<std::string> squares;      // their exact squares, double texts
    std::vector<std::size_t> significant;  // positions more than 1.65 deviations off the mean
};

// Every deviation is exact: the mean has at most four decimals, so it is worked in units of
// 1/10,000. With a deviation of "n/a" or 0 no position is significant.
StrengthStatistics strengthStatistics(const std::vector<int>& strengths);

}  // namespace pelmora
