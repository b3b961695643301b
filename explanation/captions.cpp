#include "explanation/captions.h"

#include "run/input_quality.h"
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
           "files that could not be read. Only those that could not be read are left out of the "
           "run, and named at the end of the report; the others are analysed all the same. "
           "Details lists every warning file by file.";
}

std::vector<HelpEntry> warningHelpEntries(const StatedConstants& c) {
    const std::string minimal = std::to_string(c.minimalBelow - 1);
    return {
        {"empty file (0 bytes)",
         "The file holds nothing. It still gets a code, but the code rests on no words."},
        {"no words",
         "The file holds only spaces, punctuation or symbols: every density is 0 and its code "
         "rests on no words."},
        {fewWordsWarning(c.reliableWords),
         "With so few words one word more or less moves a density a long way: its digits, and "
         "its pairs' strengths, are unreliable."},
        {"looks binary",
         "The file holds a NUL character, or more than " + percentText(c.binaryShare) +
             " of its characters are control or replacement characters: it may not be a text, "
             "or its encoding was not recognised. It is analysed all the same."},
        {"identical content",
         "Files with the same bytes under different names, warned of once, on the first; the "
         "others name it under \"same bytes as\". Their pairs agree in every digit."},
        {"left out as unreadable",
         "The file could not be read (no permission, gone, a link that leads nowhere): it is "
         "left out of the run and named at the end of the report."},
        {"near threshold", "The digit's measure lies within " + doubleText(c.nearMargin) +
                               " of its threshold: a few words more or less would change it."},
        {"\u2248 unstable",
         "A text of which " + unstableKeyText(c) +
             ". Its pairs' strengths may change with another sample of the same writing."},
        {"fragile pair",
         "Marked " + fragileKeyText(c) + " of resamples; the matrix gives it a dark corner."},
        {"changed since the run",
         "The text is no longer what the run read, or cannot be read now: Details' Text tab "
         "does not show it, stability is not measured for it (neither stable nor unstable, "
         "its pairs' stability not known). Run the folder again."},
        {"No pair was compared",
         "Fewer than two texts with different names were analysed: there is no strength, mean "
         "or standard deviation."},
        {"no pair can be off the norm",
         "With one pair, or every pair of the same strength, the standard deviation is 0 or "
         "cannot be computed, so no pair is significant."},
        {"not comparable", "In the Case window, a questioned and a known text whose strength is " +
                               minimal + " or less: the pair is minimal."},
        {"n/a",
         "Validation needs at least two labels with at least two texts each; the reason follows "
         "the n/a."},
    };
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
