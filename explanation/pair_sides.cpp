#include "explanation/pair_sides.h"

#include <algorithm>
#include <utility>

namespace pelmora {

std::string digitChecksText(const DigitEvidence& digit) {
    std::string out = digit.rule;
    for (const ThresholdEvidence& t : digit.thresholds) {
        out += "\n" + t.measure + " " + t.value + " must be " + t.relation + " " + t.constant +
               ": " + (t.holds ? "holds" : "does not hold") + ", margin " + t.margin +
               (t.near ? " (near threshold)" : "");
    }
    return out;
}

std::optional<std::int64_t> reportIndexOf(const RunResult& run, int a, int b) {
    const std::optional<RunPair> listed = run.pairs.between(a, b);
    if (!listed) {
        return std::nullopt;
    }
    // The report lists each pair once, ordered by its texts' positions.
    const std::pair<int, int> wanted{listed->first, listed->second};
    std::int64_t low = 0, high = run.pairs.count();
    while (low < high) {
        const std::int64_t middle = low + (high - low) / 2;
        const RunPair p = run.pairs.at(middle);
        if (std::pair<int, int>{p.first, p.second} < wanted) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    if (low == run.pairs.count()) {
        return std::nullopt;
    }
    const RunPair found = run.pairs.at(low);
    return found.first == wanted.first && found.second == wanted.second
               ? std::optional<std::int64_t>(low)
               : std::nullopt;
}

std::optional<RunPair> neighbouringPair(const RunResult& run, int a, int b, int step) {
    const std::optional<std::int64_t> index = reportIndexOf(run, a, b);
    if (!index) {
        return std::nullopt;
    }
    const std::int64_t to = *index + step;
    return to >= 0 && to < run.pairs.count() ? std::optional<RunPair>(run.pairs.at(to))
                                             : std::nullopt;
}

std::optional<PairSides> pairSides(const RunResult& run, int a, int b) {
    const std::optional<std::int64_t> index = reportIndexOf(run, a, b);
    if (!index) {
        return std::nullopt;
    }
    PairSides sides;
    sides.pair = run.pairs.at(*index);
    sides.index = *index;
    const std::array<const TextRecord*, 2> texts = {
        &run.texts[static_cast<std::size_t>(sides.pair.first)],
        &run.texts[static_cast<std::size_t>(sides.pair.second)]};
    const PairEvidence agreement = explainPair(*texts[0], *texts[1], sides.pair.strength);
    std::array<TextEvidence, 2> evidence;
    for (std::size_t side = 0; side < 2; ++side) {
        evidence[side] = explainText(*texts[side]);
        sides.names[side] = texts[side]->name;
        sides.codes[side] = texts[side]->code;
    }
    for (std::size_t k = 0; k < sides.digits.size(); ++k) {
        PairDigit& digit = sides.digits[k];
        digit.category = kCategoryNames[k];
        digit.agree = agreement.agree[k];
        for (std::size_t side = 0; side < 2; ++side) {
            const DigitEvidence& d = evidence[side].digits[k];
            digit.digits[side] = d.digit;
            digit.categories[side] = d.categoryText.empty() ? "(no category)" : d.categoryText;
            digit.checks[side] = digitChecksText(d);
            digit.near[side] = d.nearThreshold;
        }
    }
    return sides;
}

}  // namespace pelmora
