#pragma once
// How comparable the texts of a case are, by role, from the run result: each questioned text
// against the known texts, the known texts among themselves, and the reference population
// against the questioned texts. Texts without a role take no part.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "case/metadata.h"
#include "rules/rule_book.h"
#include "run/run_result.h"
#include "stability/stability.h"

namespace pelmora {

// The run's texts of each role, by position in run order.
struct CaseTexts {
    std::vector<int> questioned, known, reference;
    // Names with a role whose file the run could not analyse (left out), exact bytes.
    std::vector<std::string> notAnalysed;
};
CaseTexts caseTexts(const RunResult& run, const Metadata& metadata);

// One digit on which two texts differ, with what each text's rule decided.
struct DigitDifference {
    Category category = Category::Formality;
    char firstDigit = '0', secondDigit = '0';
    std::string firstText, secondText;  // the category as each text's field holds it
    bool near = false;                  // either digit is near a threshold
};

// Two texts side by side: their pair as the run lists it and how their codes compare.
struct TextComparison {
    int first = 0, second = 0;  // positions: questioned first in Q-K and Q-Q
    int strength = 0;
    bool minimal = false;
    std::array<bool, 5> agrees{};
    std::vector<DigitDifference> differences;  // in code order
    std::optional<PairStability> stability;    // where both texts were resampled

    int agreeing() const;
};

enum class Verdict { Compatible, Differs, NotComparable };

struct KnownComparison {
    TextComparison pair;  // questioned first
    Verdict verdict = Verdict::Compatible;
    // The share of reference texts whose strength with the questioned text is at least this
    // pair's; nothing without reference texts.
    std::optional<double> referenceShareAtLeast;
};

struct KnownStanding {
    int known = 0;                       // position
    std::optional<double> meanStrength;  // with the other known texts; nothing when alone
    bool offType = false;                // that mean is minimal
};

struct KnownSummary {
    std::optional<double> meanStrength;  // over every pair of known texts
    std::vector<KnownStanding> texts;    // in run order
};

struct ReferenceDistribution {
    int questioned = 0;               // position
    std::array<int, 6> atStrength{};  // reference texts reaching each strength 0 to 5
    int total() const;
    // The share reaching at least `strength`; nothing without reference texts.
    std::optional<double> shareAtLeast(int strength) const;
};

struct Compatibility {
    CaseTexts texts;
    int level = RuleBook::kMatchedReferenceAtLeast;
    // For each questioned text in run order, its comparison with each known text.
    std::vector<std::vector<KnownComparison>> questionedKnown;
    KnownSummary known;
    std::vector<ReferenceDistribution> questionedReference;  // per questioned text
    std::vector<int> matchedReference;  // positions whose strength with every Q reaches level
    std::vector<TextComparison> questionedPairs;  // Q-Q, in run order
};

// `stability`, when measured for this run, gives each pair's figures. `level` from 0 to 5.
Compatibility compatibilityOf(const RunResult& run, const Metadata& metadata,
                              int level = RuleBook::kMatchedReferenceAtLeast,
                              const RunStability* stability = nullptr);

// "compatible: 5 of 5 digits agree", "differs in past tenseness: questioned Past Tense, known
// Not Past Tense", "not comparable: 2 of 5 digits agree".
std::string verdictText(const KnownComparison& comparison);
// "62% of reference texts reach at least 4 with Q"; empty without reference texts.
std::string shareSentence(const KnownComparison& comparison);
// A share rounded to a whole percentage: "62%".
std::string wholePercentText(double share);

}  // namespace pelmora
