#pragma once
// The figures the evidence charts draw, all read off the run: a text's densities with the
// thresholds its rules compare each with, and the spread of the run's pair strengths with
// the band beyond which a pair is off the norm.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "run/run_result.h"

namespace pelmora {

struct ThresholdMark {
    Threshold id;
    double limit = 0;       // as the run's rule book has it
    std::string limitText;  // as the rules write it in their checks
};

struct DensityBar {
    Measure density;    // D0 to D8, then the obligation and the affect density
    Measure count;      // the count it divides by the text length, whose occurrences made it
    std::string value;  // as the run wrote it
    double number = 0;
    std::vector<ThresholdMark> thresholds;  // in the order of the rule book
};

// The nine density lines, then the obligation and the affect density.
inline constexpr std::size_t kDensityBars = 11;
std::array<DensityBar, kDensityBars> densityBars(const TextRecord& text, const RuleBook& rules);

inline constexpr int kHighestStrength = 5;

struct StrengthDistribution {
    std::array<std::int64_t, kHighestStrength + 1> pairs{};  // how many pairs have each strength
    std::array<bool, kHighestStrength + 1> significant{};    // listed off the norm
    std::optional<double> mean, stDev;  // as the report writes them; nothing where it writes n/a
    // Mean minus and plus the significance limit of deviations, when both are numbers.
    std::optional<std::pair<double, double>> band;
};

StrengthDistribution strengthDistribution(const RunResult& run);

}  // namespace pelmora
