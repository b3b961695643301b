#include "explanation/captions.h"

#include "stores/number_text.h"

namespace pelmora {

std::string percentText(double share) {
    return doubleText(100 * share) + "%";
}

std::string strengthKeyText(const StatedConstants& c) {
    return "0-" + std::to_string(c.minimalBelow - 1) + " minimal, 5 identical";
}

std::string unstableKeyText(const StatedConstants& c) {
    return "a digit of its code is unstable (kept by fewer than " + percentText(c.stableShare) +
           " of resamples)";
}

std::string fragileKeyText(const StatedConstants& c) {
    return "fragile: a minimal or significant pair whose standing holds in fewer than " +
           percentText(c.firmShare);
}

std::string significanceBandText(double low, double high, const StatedConstants& c) {
    return "mean \u00b1 " + doubleText(c.significanceAbove) +
           " standard deviations: " + fixedText(low, 4) + " to " + fixedText(high, 4);
}

namespace {

// The strengths from `low` to the highest, 5: "5", "4 or 5", "3 to 5".
std::string strengthsFrom(int low) {
    return low >= 5 ? "5" : std::to_string(low) + (low == 4 ? " or 5" : " to 5");
}

}  // namespace

std::string strengthHelpText(const StatedConstants& c) {
    const int borderline = c.minimalBelow;
    return "This programme uses a variety of textual measures (primarily the density of certain "
           "types of word (e.g. pronouns, deteminers, etc) to classify a text. Each text in a "
           "group (i.e. all the texts within a selected folder or directory on your computer) is "
           "compared with every other text in the group and a compatability factor is assigned "
           "to the relationship between the texts. Texts which are highly compatible will score " +
           strengthsFrom(borderline + 1) + " (the maximum is 5). A value of " +
           std::to_string(borderline) + " is considered borderline. A value of " +
           std::to_string(borderline - 1) + " or less indicates the relationship is minimal.";
}

std::string detailsHelpText(const StatedConstants& c) {
    return "Details: for each text, its type code and, for every digit, the rule that decided "
           "it, the measures and thresholds it looked at and by how much; a digit that lies "
           "within " +
           doubleText(c.nearMargin) +
           " of its threshold is marked 'near threshold'. Below, every file with its encoding, "
           "size, number of words and warnings.";
}

std::string warningsHelpText(const StatedConstants& c) {
    return "Warnings: the line under the report counts the doubts about the input: a file "
           "without words, a file of fewer than " +
           std::to_string(c.reliableWords) +
           " words (its densities are unreliable), files with the same content as another, and "
           "files that could not be read. Those are left out of the run and named at the end of "
           "the report. Details lists every warning file by file.";
}

std::string sensitivityMovesText(const StatedConstants& c) {
    std::string out = "every threshold moves by ";
    for (std::size_t i = 0; i < c.sensitivitySteps.size(); ++i) {
        out += (i == 0                               ? ""
                : i + 1 == c.sensitivitySteps.size() ? " and "
                                                     : ", ") +
               percentText(c.sensitivitySteps[i]);
    }
    return out;
}

std::string stabilityCommandSummary(const StatedConstants& c) {
    return "the same run; how often each digit holds when the text is resampled (B times, "
           "default " +
           std::to_string(c.resamples) + ") in blocks of words (default " +
           std::to_string(c.blockWords) + ")";
}

}  // namespace pelmora
