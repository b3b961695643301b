#pragma once
// How well the type code separates texts the linguist has labelled (by genre, say): the
// strengths of pairs of the same label against those of different labels, the chance that a
// same-label pair has the higher strength, the errors at each strength cut, and what each
// digit and each label contributes. Every figure comes from exact counts.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "case/metadata.h"
#include "run/run_result.h"
#include "stability/stability.h"
#include "stores/error.h"

namespace pelmora {

// The strengths of one kind of pair.
struct StrengthCounts {
    std::array<std::int64_t, kCodeDigits + 1> atStrength{};  // pairs at each strength

    std::int64_t pairs() const;
    std::optional<double> mean() const;  // nothing without pairs
    std::int64_t atLeast(int strength) const;
};

// Counting the pairs whose strength is at least `cut` as of one label.
struct RocPoint {
    int cut = 0;                  // 0 takes every pair, 6 none
    double sameRate = 0;          // same-label pairs taken (true positive rate)
    double differentRate = 0;     // different-label pairs taken (false positive rate)
    double balancedAccuracy = 0;  // the mean of the two rates of right calls
};

// One digit of the code across the labelled texts.
struct DigitSeparation {
    Category category = Category::Formality;
    std::vector<char> values;  // the digit values seen, in ascending order
    // For each label (in Validation::labels' order), its texts at each of `values`.
    std::vector<std::vector<int>> texts;
    char topValue = '0';
    double topShare = 0;    // of the labelled texts, the share at the most common value
    bool separates = true;  // false when topShare reaches the rule book's share
    // The share of same-label and different-label pairs agreeing on this digit.
    std::optional<double> agreeWithin, agreeAcross;
};

struct LabelFigures {
    std::string label;
    int texts = 0;
    std::string commonCode;  // the most common code, the lowest of equally common ones
    int commonCodeTexts = 0;
    // The share of its texts with an unstable digit; nothing when stability was not measured
    // for each of them.
    std::optional<double> unstableShare;
};

struct Validation {
    std::string column;                // the metadata column read as the label
    std::vector<int> texts;            // positions of the labelled texts, in run order
    std::vector<LabelFigures> labels;  // in byte order of the label
    StrengthCounts same, different;
    // Why the separation figures cannot be given; empty when they are.
    std::string notAvailable;
    std::optional<double> auc, equalErrorRate;
    std::optional<int> bestCut;  // the cut (1 to 5) with the best balanced accuracy
    std::vector<RocPoint> roc;   // cuts 0 to 6
    std::array<DigitSeparation, kCodeDigits> digits{};
};

// The label column `column` of `metadata` over the run's texts: a text is labelled when its
// row gives a value other than spaces. An error when the table has no such column.
// `stability`, when measured for this run, gives each label's unstable share.
Result<Validation> validateLabels(const RunResult& run, const Metadata& metadata,
                                  std::string_view column, const RunStability* stability = nullptr);

// Why `column` cannot be read as labels: the table has no such column. Nothing when it can.
std::optional<Error> labelColumnError(const Metadata& metadata, std::string_view column);

// "n/a: <reason>" where a figure is missing, else the figure with 4 decimals.
std::string validationFigure(const std::optional<double>& value, std::string_view reason);

}  // namespace pelmora
