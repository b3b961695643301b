#pragma once
// The statistics of a run's strengths, as texts the report writes. A strength is one of a
// few values, so every figure that depends on a strength alone is worked out once per value.

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "stores/pair_list.h"

namespace pelmora {

// Written where a figure is undefined (no strength for the mean, fewer than two for the
// deviation).
inline constexpr const char* kNotAvailable = "n/a";

struct StrengthStatistics {
    static constexpr int kValues = 16;  // strengths a pair list can hold

    std::int64_t count = 0;
    double squareSum = 0;  // of the squares as written, added in list order
    std::string mean;      // four-decimal text, or "n/a"
    std::string stDev;     // sample standard deviation, or "n/a"
    // Per strength: |mean - x| as a four-decimal text, its exact square as a double text, and
    // whether it lies more than the significance limit of deviations off the mean.
    std::array<std::string, kValues> deviation, square;
    std::array<bool, kValues> significant{};
};

// Calls its argument once for every strength, in list order; may be called more than once.
using StrengthSequence = std::function<void(const std::function<void(int)>&)>;

// Every deviation is exact: the mean has at most four decimals, so it is worked in units of
// 1/10,000. The squares are added as written, one by one in list order, so the sum is the
// one the list itself gives. With a deviation of "n/a" or 0 no strength is significant.
StrengthStatistics strengthStatistics(const StrengthSequence& strengths);
StrengthStatistics strengthStatistics(const PairList& pairs);

}  // namespace pelmora
