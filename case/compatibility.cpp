#include "case/compatibility.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "explanation/captions.h"

namespace pelmora {

namespace {

std::string categoryText(const TextRecord& text, int k) {
    const auto& decision = text.decisions.categories[static_cast<std::size_t>(k)];
    std::string words = decision ? decision->text() : std::string();
    return words.empty() ? std::string("none") : words;
}

char digitAt(const TextRecord& text, int k) {
    const std::string_view digit = codeCharAt(text.code, k);
    return digit.empty() ? '-' : digit.front();
}

TextComparison compare(const RunResult& run, int first, int second, const RunStability* stability) {
    const TextRecord& a = run.texts[static_cast<std::size_t>(first)];
    const TextRecord& b = run.texts[static_cast<std::size_t>(second)];
    TextComparison c;
    c.first = first;
    c.second = second;
    if (const std::optional<RunPair> pair = run.pairs.between(first, second)) {
        c.strength = pair->strength;
        c.minimal = pair->minimal;
        if (stability) {
            if (PairStability figures = stability->pair(run, *pair); figures.known) {
                c.stability = figures;
            }
        }
    } else {
        // A text the run's pairs leave out is compared by the rule book all the same.
        c.strength = typeCodeStrength(a.code, b.code);
        c.minimal = isMinimal(c.strength);
    }
    for (int k = 0; k < kCodeDigits; ++k) {
        const auto at = static_cast<std::size_t>(k);
        c.agrees[at] = codesAgreeAt(a.code, b.code, k);
        if (!c.agrees[at]) {
            c.differences.push_back({static_cast<Category>(k), digitAt(a, k), digitAt(b, k),
                                     categoryText(a, k), categoryText(b, k),
                                     a.near[at] || b.near[at]});
        }
    }
    return c;
}

Verdict verdictOf(const TextComparison& c) {
    if (c.strength == kCodeDigits) {
        return Verdict::Compatible;
    }
    return c.minimal ? Verdict::NotComparable : Verdict::Differs;
}

std::vector<int> strengthsWith(const RunResult& run, int text, const std::vector<int>& others) {
    std::vector<int> out;
    out.reserve(others.size());
    for (int other : others) {
        if (other == text) {
            continue;
        }
        const std::optional<RunPair> pair = run.pairs.between(text, other);
        out.push_back(pair ? pair->strength
                           : typeCodeStrength(run.texts[static_cast<std::size_t>(text)].code,
                                              run.texts[static_cast<std::size_t>(other)].code));
    }
    return out;
}

std::optional<double> meanOf(const std::vector<int>& values) {
    if (values.empty()) {
        return std::nullopt;
    }
    double sum = 0;
    for (int v : values) {
        sum += v;
    }
    return sum / static_cast<double>(values.size());
}

KnownSummary knownSummary(const RunResult& run, const std::vector<int>& known) {
    KnownSummary summary;
    std::vector<int> all;
    for (std::size_t i = 0; i < known.size(); ++i) {
        const std::vector<int> strengths = strengthsWith(run, known[i], known);
        KnownStanding standing{known[i], meanOf(strengths), false};
        standing.offType = standing.meanStrength &&
                           *standing.meanStrength < static_cast<double>(RuleBook::kMinimalBelow);
        summary.texts.push_back(standing);
        // Each pair once: with the known texts after this one.
        all.insert(all.end(), strengths.begin() + static_cast<std::ptrdiff_t>(i), strengths.end());
    }
    summary.meanStrength = meanOf(all);
    return summary;
}

}  // namespace

CaseTexts caseTexts(const RunResult& run, const Metadata& metadata) {
    CaseTexts out;
    std::unordered_map<std::string_view, int> positions;  // a case may hold thousands of texts
    for (const TextRecord& t : run.texts) {
        positions.emplace(t.nameBytes, t.position);
    }
    for (const MetadataRow& row : metadata.rows) {
        if (row.role == Role::None) {
            continue;
        }
        const auto text = positions.find(row.nameBytes);
        if (text == positions.end()) {
            out.notAnalysed.push_back(row.nameBytes);
            continue;
        }
        std::vector<int>& list = row.role == Role::Questioned ? out.questioned
                                 : row.role == Role::Known    ? out.known
                                                              : out.reference;
        list.push_back(text->second);
    }
    for (std::vector<int>* list : {&out.questioned, &out.known, &out.reference}) {
        std::sort(list->begin(), list->end());
    }
    return out;
}

int TextComparison::agreeing() const {
    int n = 0;
    for (bool a : agrees) {
        n += a ? 1 : 0;
    }
    return n;
}

int ReferenceDistribution::total() const {
    int n = 0;
    for (int count : atStrength) {
        n += count;
    }
    return n;
}

std::optional<double> ReferenceDistribution::shareAtLeast(int strength) const {
    const int all = total();
    if (all == 0) {
        return std::nullopt;
    }
    int reaching = 0;
    for (int s = std::max(strength, 0); s < static_cast<int>(atStrength.size()); ++s) {
        reaching += atStrength[static_cast<std::size_t>(s)];
    }
    return static_cast<double>(reaching) / all;
}

Compatibility compatibilityOf(const RunResult& run, const Metadata& metadata, int level,
                              const RunStability* stability) {
    Compatibility c;
    c.texts = caseTexts(run, metadata);
    c.level = level;
    const CaseTexts& t = c.texts;
    std::vector<int> weakest(t.reference.size(), kCodeDigits);  // each reference's least with any Q
    for (int q : t.questioned) {
        ReferenceDistribution distribution{q, {}};
        const std::vector<int> strengths = strengthsWith(run, q, t.reference);
        for (std::size_t r = 0; r < strengths.size(); ++r) {
            ++distribution.atStrength[static_cast<std::size_t>(strengths[r])];
            weakest[r] = std::min(weakest[r], strengths[r]);
        }
        std::vector<KnownComparison> rows;
        for (int k : t.known) {
            KnownComparison row;
            row.pair = compare(run, q, k, stability);
            row.verdict = verdictOf(row.pair);
            row.referenceShareAtLeast = distribution.shareAtLeast(row.pair.strength);
            rows.push_back(std::move(row));
        }
        c.questionedKnown.push_back(std::move(rows));
        c.questionedReference.push_back(distribution);
    }
    for (std::size_t r = 0; r < t.reference.size() && !t.questioned.empty(); ++r) {
        if (weakest[r] >= level) {
            c.matchedReference.push_back(t.reference[r]);
        }
    }
    c.known = knownSummary(run, t.known);
    for (std::size_t i = 0; i < t.questioned.size(); ++i) {
        for (std::size_t j = i + 1; j < t.questioned.size(); ++j) {
            c.questionedPairs.push_back(compare(run, t.questioned[i], t.questioned[j], stability));
        }
    }
    return c;
}

std::string verdictText(const KnownComparison& comparison) {
    const TextComparison& c = comparison.pair;
    const std::string agreeing =
        std::to_string(c.agreeing()) + " of " + std::to_string(kCodeDigits) + " digits agree";
    switch (comparison.verdict) {
        case Verdict::Compatible:
            return "compatible: " + agreeing;
        case Verdict::NotComparable:
            return "not comparable: " + agreeing;
        case Verdict::Differs:
            break;
    }
    std::string out = "differs in ";
    for (std::size_t i = 0; i < c.differences.size(); ++i) {
        const DigitDifference& d = c.differences[i];
        out += (i > 0 ? "; in " : "");
        out += kCategoryNames[static_cast<std::size_t>(d.category)];
        out += ": questioned " + d.firstText + ", known " + d.secondText;
    }
    return out;
}

std::string wholePercentText(double share) {
    return percentText(static_cast<double>(std::lround(share * 100)) / 100);
}

std::string shareSentence(const KnownComparison& comparison) {
    if (!comparison.referenceShareAtLeast) {
        return {};
    }
    return wholePercentText(*comparison.referenceShareAtLeast) +
           " of reference texts reach at least " + std::to_string(comparison.pair.strength) +
           " with Q";
}

}  // namespace pelmora
