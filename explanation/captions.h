#pragma once
// Every caption, legend and help line that states a constant of the rules, the stability
// figures or the sensitivity, composed from that constant. The windows and the command line
// show these; none of them writes a constant's value itself.

#include <array>
#include <string>
#include <vector>

#include "rules/rule_book.h"
#include "stability/stability.h"

namespace pelmora {

// The constants the captions state, as they stand unless a caller moves one.
struct StatedConstants {
    int minimalBelow = RuleBook::kMinimalBelow;
    double significanceAbove = RuleBook::kSignificanceAbove;
    double nearMargin = RuleBook::kNearMargin;
    int reliableWords = RuleBook::kReliableWords;
    double binaryShare = RuleBook::kBinaryShare;
    double stableShare = kStableShare;
    double firmShare = kFirmShare;
    int resamples = StabilityOptions{}.resamples;
    int blockWords = StabilityOptions{}.blockWords;
    std::array<double, 2> sensitivitySteps = kSensitivitySteps;
};

// A share as a percentage: "80%", "2.5%".
std::string percentText(double share);

// The strengths of the key: "0-2 minimal, 5 identical".
std::string strengthKeyText(const StatedConstants& c = {});
// The key of the stability marks: "a digit of its code is unstable (kept by fewer than 80% of
// resamples)" and "fragile: ... holds in fewer than 95%".
std::string unstableKeyText(const StatedConstants& c = {});
std::string fragileKeyText(const StatedConstants& c = {});
// "mean ± 1.65 standard deviations: 2.1000 to 4.3000".
std::string significanceBandText(double low, double high, const StatedConstants& c = {});
// Help on how strengths read: "... will score 4 or 5 ... A value of 3 is considered ...".
std::string strengthHelpText(const StatedConstants& c = {});
// Help on Details, naming the near margin.
std::string detailsHelpText(const StatedConstants& c = {});
// Help on the input warnings, naming the fewest reliable words.
std::string warningsHelpText(const StatedConstants& c = {});
// A warning or mark as the windows show it, and what it means.
struct HelpEntry {
    std::string shown, meaning;
};
// Every input warning, mark and "not known" of the windows, for Help.
std::vector<HelpEntry> warningHelpEntries(const StatedConstants& c = {});
// "every threshold moves by 5% and 10%".
std::string sensitivityMovesText(const StatedConstants& c = {});
// The command line's summary of the stability command, with the defaults of its options.
std::string stabilityCommandSummary(const StatedConstants& c = {});

}  // namespace pelmora
