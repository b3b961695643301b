#include "validation/label_validation.h"

#include <algorithm>
#include <map>

#include "rules/rule_book.h"
#include "stores/number_text.h"
#include "stores/text_encoding.h"

namespace pelmora {

namespace {

constexpr int kStrengths = kCodeDigits + 1;
constexpr int kCuts = kStrengths + 1;

bool blank(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\t'; });
}

// The index of each labelled position's label (-1 for none) and the labels in byte order.
struct Labelling {
    std::vector<int> labelAt;
    std::vector<std::string> labels;
};

Result<Labelling> labellingOf(const RunResult& run, const Metadata& metadata,
                              std::string_view column) {
    if (std::optional<Error> error = labelColumnError(metadata, column)) {
        return std::move(*error);
    }
    const std::vector<std::string> columns = metadata.valueColumns();
    const auto found = std::find(columns.begin(), columns.end(), column);
    const bool byRole = found == columns.end();  // the one other column that can be read
    const auto index = static_cast<std::size_t>(found - columns.begin());
    std::map<std::string, int> ids;
    std::vector<std::string> valueAt(run.texts.size());
    for (const TextRecord& text : run.texts) {
        const MetadataRow* row = metadata.row(text.nameBytes);
        if (row == nullptr) {
            continue;
        }
        std::string value = byRole ? std::string(roleLetter(row->role))
                                   : (index < row->values.size() ? row->values[index] : "");
        if (!blank(value)) {
            ids.emplace(value, 0);
            valueAt[static_cast<std::size_t>(text.position)] = std::move(value);
        }
    }
    Labelling out;
    for (auto& [label, id] : ids) {
        id = static_cast<int>(out.labels.size());
        out.labels.push_back(label);
    }
    out.labelAt.assign(run.texts.size(), -1);
    for (std::size_t p = 0; p < valueAt.size(); ++p) {
        if (!valueAt[p].empty()) {
            out.labelAt[p] = ids.at(valueAt[p]);
        }
    }
    return out;
}

char digitAt(const TextRecord& text, int k) {
    return static_cast<std::size_t>(k) < text.code.size() ? text.code[static_cast<std::size_t>(k)]
                                                          : '-';
}

// The same-label and different-label counts, and per digit how many of each agree.
struct PairCounts {
    StrengthCounts same, different;
    std::array<std::int64_t, 5> agreeSame{}, agreeDifferent{};
};

PairCounts countPairs(const RunResult& run, const std::vector<int>& labelAt) {
    PairCounts out;
    run.pairs.forEach([&](const RunPair& p) {
        const int a = labelAt[static_cast<std::size_t>(p.first)];
        const int b = labelAt[static_cast<std::size_t>(p.second)];
        if (a < 0 || b < 0 || p.strength < 0 || p.strength >= kStrengths) {
            return;
        }
        const bool same = a == b;
        ++(same ? out.same : out.different).atStrength[static_cast<std::size_t>(p.strength)];
        const TextRecord& x = run.texts[static_cast<std::size_t>(p.first)];
        const TextRecord& y = run.texts[static_cast<std::size_t>(p.second)];
        for (int k = 0; k < 5; ++k) {
            if (codesAgreeAt(x.code, y.code, k)) {
                ++(same ? out.agreeSame : out.agreeDifferent)[static_cast<std::size_t>(k)];
            }
        }
    });
    return out;
}

std::optional<double> shareOf(std::int64_t part, std::int64_t whole) {
    if (whole == 0) {
        return std::nullopt;
    }
    return static_cast<double>(part) / static_cast<double>(whole);
}

// The chance that a same-label pair has the higher strength, ties counted half: from the
// counts, twice the numerator kept whole so that nothing is rounded before the division.
double aucOf(const StrengthCounts& same, const StrengthCounts& different) {
    std::int64_t twice = 0, below = 0;
    for (std::size_t s = 0; s < kStrengths; ++s) {
        twice += same.atStrength[s] * (2 * below + different.atStrength[s]);
        below += different.atStrength[s];
    }
    return static_cast<double>(twice) /
           (2.0 * static_cast<double>(same.pairs()) * static_cast<double>(different.pairs()));
}

void separationFigures(Validation& v) {
    const std::int64_t same = v.same.pairs(), different = v.different.pairs();
    for (int cut = 0; cut < kCuts; ++cut) {
        RocPoint point;
        point.cut = cut;
        point.sameRate = *shareOf(v.same.atLeast(cut), same);
        point.differentRate = *shareOf(v.different.atLeast(cut), different);
        point.balancedAccuracy = (point.sameRate + 1.0 - point.differentRate) / 2.0;
        v.roc.push_back(point);
    }
    v.auc = aucOf(v.same, v.different);
    // The best cut compared exactly: same/S - different/D as a whole-number cross product.
    std::int64_t best = 0;
    for (int cut = 1; cut < kStrengths; ++cut) {
        const std::int64_t score =
            v.same.atLeast(cut) * different - v.different.atLeast(cut) * same;
        if (!v.bestCut || score > best) {
            v.bestCut = cut;
            best = score;
        }
    }
    // Where the share of same-label pairs missed equals the share of different-label pairs
    // taken, along the straight segments between the cuts.
    for (std::size_t c = 0; c + 1 < v.roc.size(); ++c) {
        const double d0 = v.roc[c].differentRate - (1.0 - v.roc[c].sameRate);
        const double d1 = v.roc[c + 1].differentRate - (1.0 - v.roc[c + 1].sameRate);
        if (d0 >= 0 && d1 <= 0) {
            const double t = d0 == d1 ? 0.0 : d0 / (d0 - d1);
            v.equalErrorRate =
                v.roc[c].differentRate + t * (v.roc[c + 1].differentRate - v.roc[c].differentRate);
            break;
        }
    }
}

DigitSeparation digitSeparation(const RunResult& run, const Validation& v,
                                const std::vector<int>& labelAt, const PairCounts& pairs, int k) {
    DigitSeparation d;
    d.category = static_cast<Category>(k);
    for (const int p : v.texts) {
        d.values.push_back(digitAt(run.texts[static_cast<std::size_t>(p)], k));
    }
    std::sort(d.values.begin(), d.values.end());
    d.values.erase(std::unique(d.values.begin(), d.values.end()), d.values.end());
    d.texts.assign(v.labels.size(), std::vector<int>(d.values.size(), 0));
    std::vector<int> all(d.values.size(), 0);
    for (const int p : v.texts) {
        const char value = digitAt(run.texts[static_cast<std::size_t>(p)], k);
        const auto at = static_cast<std::size_t>(
            std::lower_bound(d.values.begin(), d.values.end(), value) - d.values.begin());
        ++d.texts[static_cast<std::size_t>(labelAt[static_cast<std::size_t>(p)])][at];
        ++all[at];
    }
    if (!all.empty()) {
        const auto top = std::max_element(all.begin(), all.end());  // the lowest value of ties
        d.topValue = d.values[static_cast<std::size_t>(top - all.begin())];
        d.topShare = static_cast<double>(*top) / static_cast<double>(v.texts.size());
        d.separates = d.topShare < RuleBook::kUnseparatingShare;
    }
    d.agreeWithin = shareOf(pairs.agreeSame[static_cast<std::size_t>(k)], v.same.pairs());
    d.agreeAcross = shareOf(pairs.agreeDifferent[static_cast<std::size_t>(k)], v.different.pairs());
    return d;
}

LabelFigures labelFigures(const RunResult& run, const Validation& v,
                          const std::vector<int>& labelAt, int label, const std::string& name,
                          const RunStability* stability) {
    LabelFigures f;
    f.label = name;
    std::map<std::string, int> codes;
    int measured = 0, unstable = 0;
    for (const int p : v.texts) {
        if (labelAt[static_cast<std::size_t>(p)] != label) {
            continue;
        }
        ++f.texts;
        ++codes[run.texts[static_cast<std::size_t>(p)].code];
        const TextStability* s = stability != nullptr ? stability->of(p) : nullptr;
        if (s != nullptr && s->measured() && !s->tooShort) {
            ++measured;
            unstable += s->anyUnstable() ? 1 : 0;
        }
    }
    for (const auto& [code, count] : codes) {  // in code order: the lowest of ties wins
        if (count > f.commonCodeTexts) {
            f.commonCode = code;
            f.commonCodeTexts = count;
        }
    }
    f.unstableShare = shareOf(unstable, measured);
    return f;
}

}  // namespace

std::int64_t StrengthCounts::pairs() const {
    return atLeast(0);
}

std::optional<double> StrengthCounts::mean() const {
    std::int64_t sum = 0;
    for (std::size_t s = 0; s < atStrength.size(); ++s) {
        sum += static_cast<std::int64_t>(s) * atStrength[s];
    }
    return shareOf(sum, pairs());
}

std::int64_t StrengthCounts::atLeast(int strength) const {
    std::int64_t n = 0;
    for (std::size_t s = static_cast<std::size_t>(std::max(strength, 0)); s < atStrength.size();
         ++s) {
        n += atStrength[s];
    }
    return n;
}

Result<Validation> validateLabels(const RunResult& run, const Metadata& metadata,
                                  std::string_view column, const RunStability* stability) {
    Result<Labelling> labelling = labellingOf(run, metadata, column);
    if (!labelling.ok()) {
        return labelling.error();
    }
    const std::vector<int>& labelAt = labelling.value().labelAt;
    Validation v;
    v.column = std::string(column);
    for (std::size_t p = 0; p < labelAt.size(); ++p) {
        if (labelAt[p] >= 0) {
            v.texts.push_back(static_cast<int>(p));
        }
    }
    const std::vector<std::string>& labels = labelling.value().labels;
    for (std::size_t label = 0; label < labels.size(); ++label) {
        v.labels.push_back(
            labelFigures(run, v, labelAt, static_cast<int>(label), labels[label], stability));
    }
    const PairCounts pairs = countPairs(run, labelAt);
    v.same = pairs.same;
    v.different = pairs.different;
    const auto large = std::count_if(v.labels.begin(), v.labels.end(), [](const LabelFigures& l) {
        return l.texts >= RuleBook::kTextsPerLabel;
    });
    if (large < RuleBook::kLabelsNeeded) {
        v.notAvailable = "fewer than " + std::to_string(RuleBook::kLabelsNeeded) +
                         " labels of at least " + std::to_string(RuleBook::kTextsPerLabel) +
                         " texts each";
    } else {
        separationFigures(v);
    }
    for (int k = 0; k < 5; ++k) {
        v.digits[static_cast<std::size_t>(k)] = digitSeparation(run, v, labelAt, pairs, k);
    }
    return v;
}

std::optional<Error> labelColumnError(const Metadata& metadata, std::string_view column) {
    const std::vector<std::string> columns = metadata.valueColumns();
    if (std::find(columns.begin(), columns.end(), column) != columns.end() ||
        (column == Metadata::kRoleColumn && metadata.roleColumn().has_value())) {
        return std::nullopt;
    }
    std::string names;
    for (const std::string& name : metadata.header) {
        names += (names.empty() ? "" : ", ") + displayText(name);
    }
    return Error{Error::Code::MetadataUnusable,
                 "The metadata has no column \"" + displayText(column) +
                     "\" to read labels from; its columns are " + names + ".",
                 "no such column"};
}

std::string validationFigure(const std::optional<double>& value, std::string_view reason) {
    return value ? fixedText(*value, 4) : "n/a: " + std::string(reason);
}

}  // namespace pelmora
