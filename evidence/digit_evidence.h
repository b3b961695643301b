#pragma once
// Why a text got its type code: for each digit the category, the measures and thresholds the
// deciding rule looked at, and that rule in words. Derived from the measures the batch run
// kept, by the same rules the category commands apply.

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "analysis/feature_names.h"
#include "analysis/form1.h"

namespace pelmora {

// Names of the five digit positions: "formality", "personage", "past tenseness",
// "obligation/intention", "affect".
extern const std::array<const char*, 5> kDigitCategories;

// One comparison of a density with a constant that decided a digit.
struct ThresholdCheck {
    std::string measure;   // "contraction density"
    std::string value;     // the density as the run wrote it
    std::string sense;     // "above" or "below": what the rule asks of the value
    std::string constant;  // "0.01"
    std::string margin;    // value minus constant, signed: "+0.0023", "-0.0007", "0"
    bool near = false;     // within 0.002 of the constant
};

struct DigitEvidence {
    char digit = '0';
    std::string categoryText;  // "Formal", ...; empty when no category was set
    std::string rule;          // the deciding rule in words
    std::vector<std::pair<std::string, std::string>> measures;  // label, value
    std::vector<ThresholdCheck> thresholds;
    bool nearThreshold = false;
};

struct TextEvidence {
    std::string name;
    std::string code;         // the code the run gave
    std::string derivedCode;  // the code the evidence gives; differs only on a fault
    std::array<DigitEvidence, 5> digits;
    std::vector<std::pair<std::string, std::string>> ranking;  // the two first: feature, density
    std::array<std::string, 9> densities;

    bool consistent() const { return derivedCode == code; }
    int nearCount() const;
};

// Margins within this distance of a threshold (inclusive) are flagged "near threshold".
inline constexpr int kNearUnits = 20;  // in 1/10,000

TextEvidence explainText(const TextMeasures& measures);

// The evidence of one text as plain text, LF line ends.
std::string textEvidenceReport(const TextEvidence& evidence);

// Which digit positions of two codes agree.
struct PairEvidence {
    std::string first, second;  // names
    std::string firstCode, secondCode;
    int strength = 0;
    std::array<bool, 5> agree{};
};

PairEvidence explainPair(const TextMeasures& first, const TextMeasures& second);
PairEvidence explainPair(std::string first, std::string firstCode, std::string second,
                         std::string secondCode);
// "agree: formality, personage; differ: past tenseness (1 vs 2), affect (0 vs 1)"
std::string pairEvidenceText(const PairEvidence& pair);

}  // namespace pelmora
