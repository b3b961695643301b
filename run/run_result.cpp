#include "run/run_result.h"

#include <cassert>

namespace pelmora {

const std::array<MeasureInfo, kMeasureCount> kMeasures = {{
    {Measure::TextLength, "text_length", "text length"},
    {Measure::WordLengthAvg, "word_length_avg", "word length average"},
    {Measure::Contractions, "contractions", "contractions"},
    {Measure::FirstPerson, "first_person", "first-person words"},
    {Measure::SecondPerson, "second_person", "second-person words"},
    {Measure::ThirdPerson, "third_person", "third-person words"},
    {Measure::PastTenseWords, "past_tense_words", "common past-tense words"},
    {Measure::PastTenseForms, "past_tense_forms", "-ed forms"},
    {Measure::DefiniteArticle, "definite_article", "definite articles"},
    {Measure::IndefiniteArticle, "indefinite_article", "indefinite articles"},
    {Measure::It, "it", "'it'"},
    {Measure::ObligationCount, "obligation_count", "modal verbs"},
    {Measure::ObligationDensity, "obligation_density", "obligation density"},
    {Measure::AffectCount, "affect_count", "affect words"},
    {Measure::AffectDensity, "affect_density", "affect density"},
    {Measure::Quotes, "quotes", "double quotation marks"},
    {Measure::D0, "d0", "contraction density"},
    {Measure::D1, "d1", "first-person density"},
    {Measure::D2, "d2", "second-person density"},
    {Measure::D3, "d3", "third-person density"},
    {Measure::D4, "d4", "common past-tense density"},
    {Measure::D5, "d5", "inflection density"},
    {Measure::D6, "d6", "definite-article density"},
    {Measure::D7, "d7", "indefinite-article density"},
    {Measure::D8, "d8", "'it' density"},
}};

const std::string& TextRecord::text(Measure m) const {
    const TextMeasures& t = measures;
    switch (m) {
        case Measure::TextLength:
            return t.textLength;
        case Measure::WordLengthAvg:
            return t.wordLengthAvg;
        case Measure::Contractions:
            return t.contractions;
        case Measure::FirstPerson:
            return t.firstPerson;
        case Measure::SecondPerson:
            return t.secondPerson;
        case Measure::ThirdPerson:
            return t.thirdPerson;
        case Measure::PastTenseWords:
            return t.pastTenseWords;
        case Measure::PastTenseForms:
            return t.pastTenseForms;
        case Measure::DefiniteArticle:
            return t.definiteArticle;
        case Measure::IndefiniteArticle:
            return t.indefiniteArticle;
        case Measure::It:
            return t.it;
        case Measure::ObligationCount:
            return t.obligationCount;
        case Measure::ObligationDensity:
            return t.obligationDensity;
        case Measure::AffectCount:
            return t.affectCount;
        case Measure::AffectDensity:
            return t.affectDensity;
        case Measure::Quotes:
            return t.quotes;
        default:
            return t.densities[static_cast<std::size_t>(static_cast<int>(m) -
                                                        static_cast<int>(Measure::D0))];
    }
}

RunPairs::RunPairs(PairList pairs, std::array<bool, 16> significantStrength)
    : pairs_(std::move(pairs)), significant_(significantStrength) {
    assert(pairs_.rosterCount() <= 1);  // a run clears the lists, then gathers once
    pairs_.forEachPair([this](const PairList::Pair& p) {
        ++counts_[static_cast<std::size_t>(p.strength)];
        return true;
    });
}

RunPair RunPairs::pairOf(const PairList::Pair& p) const {
    return RunPair{p.first, p.second, p.strength, isMinimal(p.strength),
                   significant_[static_cast<std::size_t>(p.strength)]};
}

RunPair RunPairs::at(std::int64_t k) const {
    return pairOf(pairs_.pairAt(k));
}

void RunPairs::forEach(const std::function<void(const RunPair&)>& visit) const {
    pairs_.forEachPair([&](const PairList::Pair& p) {
        visit(pairOf(p));
        return true;
    });
}

std::optional<RunPair> RunPairs::between(int a, int b) const {
    if (pairs_.rosterCount() == 0 || a == b) {
        return std::nullopt;
    }
    const int first = std::min(a, b), second = std::max(a, b);
    const std::optional<int> s = pairs_.listedStrength(0, first, second);
    if (!s) {
        return std::nullopt;
    }
    return pairOf(PairList::Pair{0, first, second, *s});
}

int RunResult::analysedCount() const {
    int n = 0;
    for (const TextRecord& t : texts) {
        n += t.inRun ? 1 : 0;
    }
    return n;
}

const TextRecord* RunResult::byNameBytes(std::string_view nameBytes) const {
    for (const TextRecord& t : texts) {
        if (t.nameBytes == nameBytes) {
            return &t;
        }
    }
    return nullptr;
}

}  // namespace pelmora
