#include "rules/rule_book.h"

#include <algorithm>
#include <cassert>
#include <cmath>

#include "stores/list_store.h"
#include "stores/number_text.h"
#include "stores/text_ops.h"

namespace pelmora {

namespace {

constexpr int kCommonPast = 4, kInflections = 5;
constexpr int kContractionLine = 0, kDefiniteLine = 6, kIndefiniteLine = 7;

std::string_view lineAt(const std::vector<std::string>& lines, int i) {
    return i >= 0 && i < static_cast<int>(lines.size()) ? std::string_view(lines[i])
                                                        : std::string_view();
}

Reading lineReading(const std::vector<std::string>& lines, int i) {
    return reading(lineAt(lines, i));
}

Check thresholdCheck(int step, const RuleBook& rules, Threshold id, int line, const Reading& value,
                     bool above) {
    Check c;
    c.kind = Check::Kind::Threshold;
    c.step = step;
    c.relation = above ? Check::Relation::Above : Check::Relation::Below;
    c.threshold = id;
    c.subject = line;
    c.text = value.text;
    c.value = value.value;
    c.limit = rules[id];
    c.holds = above ? c.value > c.limit : c.value < c.limit;
    return c;
}

Check thresholdCheck(int step, const RuleBook& rules, Threshold id,
                     const std::vector<std::string>& lines, int line, bool above) {
    return thresholdCheck(step, rules, id, line, lineReading(lines, line), above);
}

// The density of the feature named `feature`, by its position among the labels.
std::string densityOfFeature(std::string_view feature, const std::vector<std::string>& labels,
                             const std::vector<std::string>& lines) {
    for (std::size_t i = 0; i < labels.size(); ++i) {
        if (equalsIgnoreCase(labels[i], feature)) {
            return std::string(lineAt(lines, static_cast<int>(i)));
        }
    }
    return "";
}

Check rankCheck(int step, const std::vector<std::string>& ranking, int position,
                std::array<const char*, 2> sought, const std::vector<std::string>& labels,
                const std::vector<std::string>& lines) {
    Check c;
    c.kind = Check::Kind::Ranking;
    c.relation = Check::Relation::OneOf;
    c.step = step;
    c.subject = position;
    c.sought = sought;
    c.text = std::string(lineAt(ranking, position));
    c.rankedDensity = densityOfFeature(c.text, labels, lines);
    for (const char* s : sought) {
        c.holds = c.holds || (s != nullptr && equalsIgnoreCase(c.text, s));
    }
    return c;
}

Check countCheck(int step, Person left, const Reading& l, Person right, const Reading& r) {
    Check c;
    c.kind = Check::Kind::Count;
    c.relation = Check::Relation::FewerThan;
    c.step = step;
    c.subject = static_cast<int>(left);
    c.against = right;
    c.text = l.text;
    c.value = l.value;
    c.limit = r.value;
    c.holds = l.value < r.value;
    return c;
}

Check labelCheck(int step, const std::vector<std::string>& labels, int position,
                 const char* label) {
    Check c;
    c.kind = Check::Kind::Label;
    c.relation = Check::Relation::Is;
    c.step = step;
    c.subject = position;
    c.sought = {label, nullptr};
    c.text = std::string(lineAt(labels, position));
    c.holds = equalsIgnoreCase(c.text, label);
    return c;
}

bool holds(std::vector<Check>& checks, Check c) {
    checks.push_back(std::move(c));
    return checks.back().holds;
}

// A decision no step wrote keeps the field's content.
template <typename D>
D kept(D d, Category category, std::string_view before) {
    if (d.step == 0) {
        d.before = std::string(before);
        d.value = categoryValueOf(category, before);
    }
    return d;
}

// Obligation and affect: above the low constant one text, above the high one another.
Decision decideLevels(const RuleBook& rules, const Reading& density, std::string_view before,
                      Category category, Threshold low, CategoryValue lowValue, Threshold high,
                      CategoryValue highValue) {
    Decision d;
    if (holds(d.checks, thresholdCheck(step::kLow, rules, low, -1, density, true))) {
        d.value = lowValue;
        d.step = step::kLow;
    }
    if (holds(d.checks, thresholdCheck(step::kHigh, rules, high, -1, density, true))) {
        d.value = highValue;
        d.step = step::kHigh;
    }
    return kept(std::move(d), category, before);
}

}  // namespace

const ThresholdInfo& thresholdInfo(Threshold id) {
    const ThresholdInfo& info = kThresholds[static_cast<std::size_t>(id)];
    assert(info.id == id);
    return info;
}

RuleBook::RuleBook() {
    for (const ThresholdInfo& t : kThresholds) {
        limits_[static_cast<std::size_t>(t.id)] = t.standard;
    }
}

const RuleBook& RuleBook::standard() {
    static const RuleBook book;
    return book;
}

RuleBook RuleBook::with(Threshold id, double limit) const {
    RuleBook moved = *this;
    moved.limits_[static_cast<std::size_t>(id)] = limit;
    return moved;
}

RuleBook RuleBook::scaled(double factor) const {
    RuleBook moved = *this;
    for (double& limit : moved.limits_) {
        limit *= factor;
    }
    return moved;
}

double unusualShare(const CharacterCounts& counts) {
    if (counts.characters == 0) {
        return 0;
    }
    return static_cast<double>(counts.controls + counts.replacements) /
           static_cast<double>(counts.characters);
}

bool looksBinary(const CharacterCounts& counts) {
    return counts.nul > 0 || unusualShare(counts) > RuleBook::kBinaryShare;
}

Reading reading(std::string_view text) {
    return Reading{std::string(text), strictParse(text).value_or(0.0)};
}

Evaluation evaluate(const RuleBook& rules, const std::vector<std::string>& densityLines,
                    const std::vector<std::string>& labels, bool passiveBefore,
                    const std::vector<std::string>& characterValuesBefore,
                    const std::vector<std::string>& sortedValuesBefore) {
    Evaluation e;
    e.labels = labels;
    // "-ed" endings without the common past forms are taken for passive participles.
    e.passive = passiveBefore;
    const bool inflected = holds(
        e.passiveChecks,
        thresholdCheck(1, rules, Threshold::PassiveInflections, densityLines, kInflections, true));
    const bool withoutPast = holds(
        e.passiveChecks,
        thresholdCheck(1, rules, Threshold::PassiveCommonPast, densityLines, kCommonPast, false));
    if (inflected && withoutPast) {
        e.passive = true;
    }
    if (e.passive && static_cast<int>(e.labels.size()) > kInflections) {
        e.labels[kInflections] = "Passive";
    }

    ListStore sorted(ListStore::Order::Sorted);
    for (const std::string& line : characterValuesBefore) {
        sorted.append(line);
    }
    for (std::size_t i = 0; i < densityLines.size(); ++i) {
        sorted.append(densityLines[i]);
        e.classifiable |=
            holds(e.classChecks, thresholdCheck(3, rules, Threshold::Classifiable, densityLines,
                                                static_cast<int>(i), true));
    }
    e.characterValues = sorted.items();
    e.sortedAdded.assign(e.characterValues.rbegin(), e.characterValues.rend());
    // Matched as texts: k features sharing one density give their block of names k times.
    const auto rank = [&](const std::vector<std::string>& values) {
        for (const std::string& value : values) {
            for (std::size_t j = 0; j < densityLines.size(); ++j) {
                if (equalsIgnoreCase(densityLines[j], value)) {
                    e.resultsAdded.emplace_back(lineAt(e.labels, static_cast<int>(j)));
                }
            }
        }
    };
    rank(sortedValuesBefore);
    rank(e.sortedAdded);
    return e;
}

FormalityDecision decideFormality(const RuleBook& rules, const std::vector<std::string>& ranking,
                                  const std::vector<std::string>& labels,
                                  const std::vector<std::string>& densityLines,
                                  std::string_view before, bool formalBefore) {
    FormalityDecision d;
    d.formalFlag = formalBefore;
    const std::vector<std::string>& lines = densityLines;
    // The rules below apply only to a field that is still empty.
    const auto open = [&] { return d.step == 0 && before.empty(); };
    for (int position : {0, 1}) {
        if (holds(d.checks, rankCheck(step::kFormalRank, ranking, position,
                                      {"Passive", "Definite article"}, labels, lines))) {
            d.value = Formality::Formal;
            d.step = step::kFormalRank;
            d.formalFlag = true;
        }
    }
    if (!d.formalFlag) {
        for (int position : {0, 1}) {
            if (holds(d.checks, rankCheck(step::kInformalRank, ranking, position,
                                          {"Contractions", nullptr}, labels, lines))) {
                d.value = Formality::Informal;
                d.step = step::kInformalRank;
            }
        }
        if (open() &&
            holds(d.checks, thresholdCheck(step::kInformalDensity, rules, Threshold::Contractions,
                                           lines, kContractionLine, true))) {
            d.value = Formality::Informal;
            d.step = step::kInformalDensity;
        }
    }
    // A density exactly at the constant is neither informal nor open to the article rules.
    const auto articleRule = [&](int s, Threshold article, int line) {
        if (open() &&
            holds(d.checks, thresholdCheck(s, rules, Threshold::Contractions, lines,
                                           kContractionLine, false)) &&
            holds(d.checks, thresholdCheck(s, rules, article, lines, line, true))) {
            d.value = Formality::Formal;
            d.step = s;
        }
    };
    articleRule(step::kFormalDefinite, Threshold::DefiniteArticle, kDefiniteLine);
    articleRule(step::kFormalIndefinite, Threshold::IndefiniteArticle, kIndefiniteLine);
    if (open()) {
        d.value = Formality::Neutral;
        d.step = step::kNeutral;
    }
    return kept(std::move(d), Category::Formality, before);
}

Decision decidePersonage(const std::vector<std::string>& ranking,
                         const std::vector<std::string>& labels,
                         const std::vector<std::string>& densityLines, const Reading& first,
                         const Reading& second, const Reading& third) {
    Decision d;
    bool ranked = false;
    for (int position : {0, 1}) {
        if (holds(d.checks, rankCheck(step::kFirstRank, ranking, position,
                                      {"First Person", nullptr}, labels, densityLines))) {
            d.value = Personage::First;
            d.step = step::kFirstRank;
            ranked = true;
        }
    }
    if (!ranked) {
        d.value = Personage::NotFirst;
        d.step = step::kNotFirst;
    }
    const bool firstBelowSecond =
        holds(d.checks, countCheck(step::kSecond, Person::First, first, Person::Second, second));
    if (holds(d.checks, countCheck(step::kSecond, Person::Third, third, Person::Second, second)) &&
        firstBelowSecond) {
        d.value = Personage::Second;
        d.step = step::kSecond;
    }
    // Third person must outnumber both others; comparing the first person with the second
    // instead would leave a third-person text without second-person words unrecognised.
    const bool firstBelowThird =
        holds(d.checks, countCheck(step::kThird, Person::First, first, Person::Third, third));
    if (holds(d.checks, countCheck(step::kThird, Person::Second, second, Person::Third, third)) &&
        firstBelowThird) {
        d.value = Personage::Third;
        d.step = step::kThird;
    }
    return d;
}

Decision decidePastTenseness(const RuleBook& rules, const std::vector<std::string>& ranking,
                             const std::vector<std::string>& labels,
                             const std::vector<std::string>& densityLines) {
    Decision d;
    // Once the evaluation labels the inflections "Passive", they no longer count as past.
    const bool unrelabelled =
        holds(d.checks,
              labelCheck(step::kPastRank, labels, kCommonPast, kFeatureNames[kCommonPast])) &&
        holds(d.checks,
              labelCheck(step::kPastRank, labels, kInflections, kFeatureNames[kInflections]));
    bool matched = false;
    if (unrelabelled) {
        for (int position : {0, 1}) {
            if (holds(d.checks,
                      rankCheck(step::kPastRank, ranking, position,
                                {"Past Tense Inflections", nullptr}, labels, densityLines))) {
                d.value = PastTenseness::Past;
                d.step = step::kPastRank;
                matched = true;
            }
        }
    }
    if (!matched) {
        d.value = PastTenseness::NotPast;
        d.step = step::kNotPast;
    }
    if (holds(d.checks,
              labelCheck(step::kPastDensity, labels, kInflections, kFeatureNames[kInflections])) &&
        holds(d.checks, thresholdCheck(step::kPastDensity, rules, Threshold::PastInflections,
                                       densityLines, kInflections, true))) {
        d.value = PastTenseness::Past;
        d.step = step::kPastDensity;
    }
    return d;
}

Decision decideObligation(const RuleBook& rules, const Reading& density, std::string_view before) {
    return decideLevels(rules, density, before, Category::Obligation, Threshold::Obligation,
                        ObligationLevel::Obligation, Threshold::StrongObligation,
                        ObligationLevel::Strong);
}

Decision decideAffect(const RuleBook& rules, const Reading& density, std::string_view before) {
    return decideLevels(rules, density, before, Category::Affect, Threshold::Affect,
                        AffectLevel::Affective, Threshold::HighAffect, AffectLevel::High);
}

std::string_view codeCharAt(std::string_view code, int k) {
    std::size_t i = 0;
    for (int position = 0; i < code.size(); ++position) {
        std::size_t end = i + 1;
        while (end < code.size() && (static_cast<unsigned char>(code[end]) & 0xC0) == 0x80) {
            ++end;
        }
        if (position == k) {
            return code.substr(i, end - i);
        }
        i = end;
    }
    return {};
}

bool codesAgreeAt(std::string_view a, std::string_view b, int k) {
    return equalsIgnoreCase(codeCharAt(a, k), codeCharAt(b, k));
}

int typeCodeStrength(std::string_view a, std::string_view b) {
    int s = 0;
    for (int k = 0; k < 5; ++k) {
        s += codesAgreeAt(a, b, k) ? 1 : 0;
    }
    return s;
}

Classification classify(const RuleBook& rules, const ClassifierInputs& in) {
    Classification c;
    c.evaluation = evaluate(rules, in.densityLines, in.labels, false);
    const std::vector<std::string>& ranking = c.evaluation.resultsAdded;
    const std::vector<std::string>& labels = c.evaluation.labels;
    c.decisions[0] = decideFormality(rules, ranking, labels, in.densityLines, "", false);
    c.decisions[1] = decidePersonage(ranking, labels, in.densityLines, in.firstPerson,
                                     in.secondPerson, in.thirdPerson);
    c.decisions[2] = decidePastTenseness(rules, ranking, labels, in.densityLines);
    c.decisions[3] = decideObligation(rules, in.obligationDensity, "");
    c.decisions[4] = decideAffect(rules, in.affectDensity, "");
    for (std::size_t k = 0; k < c.decisions.size(); ++k) {
        if (const auto digit = digitOf(static_cast<Category>(k), c.decisions[k].value)) {
            c.code.push_back(*digit);
        }
    }
    return c;
}

std::vector<Threshold> thresholdsOf(Category category) {
    switch (category) {
        case Category::Formality:
            // The passive test renames a ranked feature, which the ranking rule reads.
            return {Threshold::Contractions, Threshold::DefiniteArticle,
                    Threshold::IndefiniteArticle, Threshold::PassiveInflections,
                    Threshold::PassiveCommonPast};
        case Category::Personage:
            return {};
        case Category::PastTenseness:
            return {Threshold::PastInflections, Threshold::PassiveInflections,
                    Threshold::PassiveCommonPast};
        case Category::Obligation:
            return {Threshold::Obligation, Threshold::StrongObligation};
        case Category::Affect:
            return {Threshold::Affect, Threshold::HighAffect};
    }
    return {};
}

namespace {

// decisiveMove from the classification the inputs give.
std::optional<double> decisiveMoveFrom(const RuleBook& rules, const ClassifierInputs& inputs,
                                       const Classification& base, Category category,
                                       Threshold threshold) {
    const auto k = static_cast<std::size_t>(category);
    const std::string digit = base.code.substr(std::min(k, base.code.size()), 1);
    const auto digitWith = [&](double limit) {
        const Classification moved = classify(rules.with(threshold, limit), inputs);
        return moved.code.substr(std::min(k, moved.code.size()), 1);
    };
    // The outcomes change only where the threshold passes a value compared with it; just past
    // each such value, nearest first, lies every region a move can reach.
    std::vector<double> values;
    const auto gather = [&](const std::vector<Check>& checks) {
        for (const Check& c : checks) {
            if (c.threshold == threshold) {
                values.push_back(c.value);
            }
        }
    };
    gather(base.evaluation.passiveChecks);
    for (const Decision& d : base.decisions) {
        gather(d.checks);
    }
    const double limit = rules[threshold];
    std::sort(values.begin(), values.end(), [limit](double a, double b) {
        const double da = std::fabs(a - limit), db = std::fabs(b - limit);
        return da != db ? da < db : a < b;
    });
    values.erase(std::unique(values.begin(), values.end()), values.end());
    // Densities carry four decimals; half of the last one is past a value but short of the next.
    constexpr double kPast = 0.00005;
    for (const double v : values) {
        const double move = v - limit;
        for (const double side : {1.0, -1.0}) {
            if ((move > 0 && side < 0) || (move < 0 && side > 0)) {
                continue;
            }
            if (digitWith(v + side * kPast) != digit) {
                // A value right at the threshold: any move changes the digit, the sign of the
                // zero says which way.
                return move != 0 ? move : std::copysign(0.0, side);
            }
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<double> decisiveMove(const RuleBook& rules, const ClassifierInputs& inputs,
                                   Category category, Threshold threshold) {
    return decisiveMoveFrom(rules, inputs, classify(rules, inputs), category, threshold);
}

std::array<DigitMoves, 5> decisiveMoves(const RuleBook& rules, const ClassifierInputs& inputs) {
    std::array<DigitMoves, 5> out;
    const Classification base = classify(rules, inputs);
    for (std::size_t k = 0; k < out.size(); ++k) {
        const auto category = static_cast<Category>(k);
        for (const Threshold t : thresholdsOf(category)) {
            const auto move = decisiveMoveFrom(rules, inputs, base, category, t);
            if (!move) {
                continue;
            }
            if (!out[k].smallest || std::fabs(*move) < std::fabs(out[k].smallest->move)) {
                out[k].smallest = ThresholdMove{t, *move};
            }
            if (withinMargin(*move)) {
                out[k].near = static_cast<std::uint16_t>(out[k].near | (1U << static_cast<int>(t)));
            }
        }
    }
    return out;
}

bool withinMargin(double move, double margin) {
    return std::llabs(std::llround(move * 1e6)) <= std::llround(margin * 1e6);
}

}  // namespace pelmora
