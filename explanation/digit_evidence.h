#pragma once
// Why a text got its type code, in words: for each digit the category, the measures the rule
// looked at, the checks it made and which step of it decided. Everything here is read off
// the rule book's decisions as the category commands applied them; nothing is decided again.

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "analysis/occurrences.h"
#include "run/run_result.h"

namespace pelmora {

// One comparison of a density with a constant.
struct ThresholdEvidence {
    std::string measure;   // "contraction density"
    std::string value;     // the density as the run wrote it
    std::string relation;  // "above" or "below": what the rule asks of the value
    std::string constant;  // "0.01"
    std::string margin;    // value minus constant, signed: "+0.0023", "-0.0007", "0"
    bool holds = false;
    bool near = false;  // a move of its threshold by at most the near margin changes the digit
};

struct DigitEvidence {
    char digit = '0';
    std::string categoryText;  // "Formal", ...; empty when no category was set
    std::string rule;          // the deciding step in words
    std::vector<std::pair<std::string, std::string>> measures;  // label, value
    std::vector<Measure> measureIds;                            // the same measures
    std::vector<ThresholdEvidence> thresholds;
    bool nearThreshold = false;
    // The smallest move of one of its thresholds that changes the digit, when one does.
    std::optional<std::pair<Threshold, double>> decisiveMove;
};

struct TextEvidence {
    std::string name;
    std::string code;
    std::array<DigitEvidence, 5> digits;
    std::vector<std::pair<std::string, std::string>> ranking;  // the two first: feature, density
    std::array<std::string, 9> densities;

    int nearCount() const;
};

// The evidence of an analysed text of a run, with the decisive moves the run found for it.
TextEvidence explainText(const TextRecord& text);
// The same from the decisions and the store texts alone, finding the moves by `rules`.
TextEvidence explainDecisions(const Form1Decisions& decisions, const TextMeasures& measures,
                              const RuleBook& rules);

// The evidence of one text as plain text, LF line ends; with the text's occurrences, each
// count with the words that made it.
std::string textEvidenceReport(const TextEvidence& evidence,
                               const std::vector<Occurrence>* occurrences = nullptr);

// A signed distance in density units as the evidence writes it: "+0.0023", "-0.00075", "0".
std::string signedDensity(double distance);

// Which digit positions of two codes agree.
struct PairEvidence {
    std::string first, second;  // names
    std::string firstCode, secondCode;
    int strength = 0;
    std::array<bool, 5> agree{};
};

PairEvidence explainPair(const TextRecord& first, const TextRecord& second, int strength);
// "agree: formality, personage; differ: past tenseness (1 vs 2), affect (0 vs 1)"
std::string pairEvidenceText(const PairEvidence& pair);

}  // namespace pelmora
