#include "explanation/digit_evidence.h"

#include <cmath>
#include <cstdlib>

#include "explanation/concordance.h"
#include "rules/feature_names.h"
#include "stores/number_text.h"
#include "stores/text_ops.h"

namespace pelmora {

namespace {

// Phrase for a ranked feature, with its verb.
std::string featurePhrase(std::string_view feature) {
    if (equalsIgnoreCase(feature, "Passive")) {
        return "passive forms are";
    }
    if (equalsIgnoreCase(feature, "Contractions")) {
        return "contractions are";
    }
    if (equalsIgnoreCase(feature, "Past Tense Inflections")) {
        return "past-tense inflections are";
    }
    return toLowerAscii(feature) + " is";
}

// The checks a decision made at `step` that held, or all of them.
std::vector<const Check*> checksOf(const Decision& d, int step, bool holdingOnly) {
    std::vector<const Check*> out;
    for (const Check& c : d.checks) {
        if (c.step == step && (!holdingOnly || c.holds)) {
            out.push_back(&c);
        }
    }
    return out;
}

// The ranked features that made a ranking rule apply.
std::vector<const Check*> rankHits(const Decision& d, int step) {
    std::vector<const Check*> out;
    for (const Check* c : checksOf(d, step, true)) {
        if (c->kind == Check::Kind::Ranking) {
            out.push_back(c);
        }
    }
    return out;
}

const Check* thresholdCheck(const Decision& d, int step, Threshold t) {
    for (const Check& c : d.checks) {
        if (c.step == step && c.threshold == t) {
            return &c;
        }
    }
    return nullptr;
}

std::string rankedRule(const std::string& prefix, const std::vector<const Check*>& hits) {
    const auto rankOf = [](const Check* c) { return std::to_string(c->subject + 1); };
    if (hits.size() == 1) {
        return prefix + ": " + featurePhrase(hits[0]->text) +
               " among the two most frequent features (" + hits[0]->rankedDensity + ", rank " +
               rankOf(hits[0]) + ")";
    }
    std::string out = prefix + ": ";
    for (std::size_t i = 0; i < hits.size(); ++i) {
        std::string phrase = featurePhrase(hits[i]->text);
        phrase.erase(phrase.rfind(' '));  // the verb comes once, after the list
        out += (i > 0 ? " and " : "") + phrase + " (" + hits[i]->rankedDensity + ", rank " +
               rankOf(hits[i]) + ")";
    }
    return out + " are among the two most frequent features";
}

// "contraction density 0.0123": what a threshold check compared.
std::string measured(const Check& c) {
    return measureText(c) + " " + c.text;
}

// "contraction density 0.0123 is above 0.01"
std::string said(const Check& c) {
    return measured(c) + " is " + std::string(relationText(c.relation)) + " " + limitText(c);
}

// "... is not above 0.01": a check that failed, in words.
std::string notSaid(const Check& c) {
    return measured(c) + " is not " + std::string(relationText(c.relation)) + " " + limitText(c);
}

// Checks that failed alike, each with its own limit; one limit is named once for them all:
// "neither A nor B is above 0.02", "neither A is above 0.02 nor B is above 0.025".
std::string neitherHeld(const Check& a, const Check& b) {
    const std::string relation = std::string(relationText(a.relation));
    if (limitText(a) == limitText(b) && a.relation == b.relation) {
        return "neither " + measured(a) + " nor " + measured(b) + " is " + relation + " " +
               limitText(a);
    }
    return "neither " + measured(a) + " is " + relation + " " + limitText(a) + " nor " +
           measured(b) + " is " + std::string(relationText(b.relation)) + " " + limitText(b);
}

std::string formalityRule(const Decision& d) {
    const Check* informal = thresholdCheck(d, step::kInformalDensity, Threshold::Contractions);
    const Check* below = thresholdCheck(d, step::kFormalDefinite, Threshold::Contractions);
    switch (d.step) {
        case step::kFormalRank:
            return rankedRule("formal", rankHits(d, step::kFormalRank));
        case step::kInformalRank:
            return rankedRule("informal", rankHits(d, step::kInformalRank));
        case step::kInformalDensity:
            return "informal: " + said(*informal);
        case step::kFormalDefinite:
        case step::kFormalIndefinite: {
            const std::vector<const Check*> c = checksOf(d, d.step, false);
            return "formal: " + said(*c[0]) + " and " + said(*c[1]);
        }
        case step::kNeutral: {
            if (below != nullptr && !below->holds) {
                return "neutral: " + measured(*below) + " is neither above nor below " +
                       limitText(*below);
            }
            const Check* definite =
                thresholdCheck(d, step::kFormalDefinite, Threshold::DefiniteArticle);
            const Check* indefinite =
                thresholdCheck(d, step::kFormalIndefinite, Threshold::IndefiniteArticle);
            if (below == nullptr || definite == nullptr || indefinite == nullptr) {
                return "neutral: no rule for formal or informal applied";
            }
            return "neutral: " + said(*below) + " but " + neitherHeld(*definite, *indefinite);
        }
        default:
            return "formality: the field kept the text it held before";
    }
}

std::string countsOf(const TextMeasures& m) {
    return " (first " + m.firstPerson + ", second " + m.secondPerson + ", third " + m.thirdPerson +
           ")";
}

std::string personageRule(const Decision& d, const TextMeasures& m) {
    const std::string neither = "neither second nor third person outnumbers both others";
    switch (d.step) {
        case step::kThird:
            return "third person: more third-person words than first- and second-person words" +
                   countsOf(m);
        case step::kSecond:
            return "second person: more second-person words than first- and third-person words" +
                   countsOf(m);
        case step::kFirstRank:
            return rankedRule("first person", rankHits(d, step::kFirstRank)) + ", and " + neither +
                   countsOf(m);
        default:
            return "not first person: first person is not among the two most frequent features, "
                   "and " +
                   neither + countsOf(m);
    }
}

std::string pastRule(const Decision& d, const Evaluation* evaluation) {
    const Check* density = thresholdCheck(d, step::kPastDensity, Threshold::PastInflections);
    switch (d.step) {
        case step::kPastDensity:
            return "past tense: " + said(*density);
        case step::kPastRank:
            return rankedRule("past tense", rankHits(d, step::kPastRank));
        default:
            break;
    }
    bool relabelled = false;
    for (const Check& c : d.checks) {
        relabelled = relabelled || (c.kind == Check::Kind::Label && !c.holds);
    }
    if (relabelled) {
        if (evaluation != nullptr && evaluation->passiveChecks.size() == 2 &&
            evaluation->passiveChecks[0].holds && evaluation->passiveChecks[1].holds) {
            return "not past tense: the -ed forms count as passive, as " +
                   said(evaluation->passiveChecks[0]) + " and " +
                   said(evaluation->passiveChecks[1]);
        }
        return "not past tense: the -ed forms were relabelled passive by an earlier evaluation "
               "of the same workspace";
    }
    const std::string notAbove =
        density != nullptr ? notSaid(*density) : "inflection density 0 is not above ";
    return "not past tense: " + notAbove +
           " and past-tense inflections are not among the two most frequent features";
}

std::string levelRule(const char* prefix, const Decision& d) {
    const Check& low = d.checks.at(0);
    const Check& high = d.checks.at(1);
    const std::string head = std::string(prefix) + ": density " + low.text;
    if (high.holds) {
        return head + " is above " + limitText(high);
    }
    if (low.holds) {
        return head + " is above " + limitText(low) + " and not above " + limitText(high);
    }
    return head + " is not above " + limitText(low);
}

std::vector<Measure> measuresOf(Category category) {
    switch (category) {
        case Category::Formality:
            return {Measure::Contractions,
                    Measure::DefiniteArticle,
                    Measure::IndefiniteArticle,
                    Measure::TextLength,
                    Measure::D0,
                    Measure::D6,
                    Measure::D7};
        case Category::Personage:
            return {Measure::FirstPerson, Measure::SecondPerson, Measure::ThirdPerson,
                    Measure::TextLength,  Measure::D1,           Measure::D2,
                    Measure::D3};
        case Category::PastTenseness:
            return {Measure::PastTenseWords, Measure::PastTenseForms, Measure::TextLength,
                    Measure::D4, Measure::D5};
        case Category::Obligation:
            return {Measure::ObligationCount, Measure::TextLength, Measure::ObligationDensity};
        case Category::Affect:
            return {Measure::AffectCount, Measure::TextLength, Measure::AffectDensity};
    }
    return {};
}

// Margins are exact in millionths: densities carry four decimals, moved thresholds six.
long long millionths(double x) {
    return std::llround(x * 1e6);
}

// The rule that decided a digit, in words.
std::string ruleOf(Category category, const Decision& d, const TextMeasures& m,
                   const Evaluation* evaluation) {
    switch (category) {
        case Category::Formality:
            return formalityRule(d);
        case Category::Personage:
            return personageRule(d, m);
        case Category::PastTenseness:
            return pastRule(d, evaluation);
        case Category::Obligation:
            return levelRule("obligation", d);
        case Category::Affect:
            return levelRule("affect", d);
    }
    return {};
}

// The two features the evaluation ranked first, each with its density.
std::vector<std::pair<std::string, std::string>> rankingOf(const Evaluation& evaluation,
                                                           const TextMeasures& m) {
    std::vector<std::pair<std::string, std::string>> ranking;
    for (int position : {0, 1}) {
        const std::string feature =
            position < static_cast<int>(evaluation.resultsAdded.size())
                ? evaluation.resultsAdded[static_cast<std::size_t>(position)]
                : std::string();
        std::string density;
        for (std::size_t i = 0; i < evaluation.labels.size() && i < m.densities.size(); ++i) {
            if (equalsIgnoreCase(evaluation.labels[i], feature)) {
                density = m.densities[i];
                break;
            }
        }
        ranking.emplace_back(feature, density);
    }
    return ranking;
}

}  // namespace

std::string signedDensity(double distance) {
    const long long u = millionths(distance);
    if (u == 0) {
        return "0";
    }
    std::string s = fixedText(static_cast<double>(std::llabs(u)) / 1e6, 6);
    while (s.back() == '0') {
        s.pop_back();
    }
    if (s.back() == '.') {
        s.pop_back();
    }
    return (u > 0 ? "+" : "-") + s;
}

int TextEvidence::nearCount() const {
    int n = 0;
    for (const DigitEvidence& d : digits) {
        n += d.nearThreshold ? 1 : 0;
    }
    return n;
}

namespace {

TextEvidence explainWith(const Form1Decisions& decisions, const TextMeasures& m,
                         const std::array<DigitMoves, 5>& moves) {
    TextEvidence e;
    e.name = m.name;
    e.code = m.code;
    e.densities = m.densities;
    const Evaluation* evaluation = decisions.evaluation ? &*decisions.evaluation : nullptr;
    for (std::size_t k = 0; k < e.digits.size(); ++k) {
        const auto category = static_cast<Category>(k);
        DigitEvidence& digit = e.digits[k];
        digit.measureIds = measuresOf(category);
        for (const Measure id : digit.measureIds) {
            digit.measures.emplace_back(kMeasures[static_cast<std::size_t>(id)].label, m.text(id));
        }
        if (!decisions.categories[k]) {
            digit.rule = "no rule was applied";
            continue;
        }
        const Decision& d = *decisions.categories[k];
        digit.digit = digitOf(category, d.value).value_or(' ');
        digit.categoryText = d.text();
        digit.rule = ruleOf(category, d, m, evaluation);
        // The smallest move of a threshold the digit depends on that would change it; a
        // threshold check is near when its threshold's own move is within the margin.
        if (const auto& smallest = moves[k].smallest) {
            digit.decisiveMove = std::make_pair(smallest->threshold, smallest->move);
        }
        digit.nearThreshold = moves[k].near != 0;
        const auto nearMove = [&](Threshold t) { return moves[k].nearBy(t); };
        std::vector<const Check*> shown;
        // The passive test decides whether the -ed forms can count as past at all.
        if (category == Category::PastTenseness && evaluation != nullptr) {
            for (const Check& c : evaluation->passiveChecks) {
                shown.push_back(&c);
            }
        }
        for (const Check& c : d.checks) {
            if (c.kind == Check::Kind::Threshold) {
                shown.push_back(&c);
            }
        }
        for (const Check* c : shown) {
            const long long margin = millionths(c->value) - millionths(c->limit);
            ThresholdEvidence t{measureText(*c),
                                c->text,
                                std::string(relationText(c->relation)),
                                limitText(*c),
                                signedDensity(static_cast<double>(margin) / 1e6),
                                c->holds,
                                false};
            t.near = nearMove(*c->threshold) &&
                     withinMargin(static_cast<double>(margin) / 1e6, RuleBook::kNearMargin);
            digit.thresholds.push_back(std::move(t));
        }
    }
    if (evaluation != nullptr) {
        e.ranking = rankingOf(*evaluation, m);
    }
    return e;
}

}  // namespace

TextEvidence explainDecisions(const Form1Decisions& decisions, const TextMeasures& m,
                              const RuleBook& rules) {
    return explainWith(decisions, m, decisiveMoves(rules, decisions.inputs));
}

TextEvidence explainText(const TextRecord& text) {
    return explainWith(text.decisions, text.measures, text.decisive);
}

std::string textEvidenceReport(const TextEvidence& e, const std::vector<Occurrence>* found) {
    std::string out = "Text: " + e.name + "\nCode: " + e.code + "\n";
    out += "Ranking:";
    for (std::size_t i = 0; i < e.ranking.size(); ++i) {
        out += i > 0 ? ", " : " ";
        out += std::to_string(i + 1) + " " + e.ranking[i].first + " (" + e.ranking[i].second + ")";
    }
    out += "\nDensities:";
    for (std::size_t i = 0; i < e.densities.size(); ++i) {
        out += i > 0 ? ", " : " ";
        out += toLowerAscii(kFeatureNames[i]) + " " + e.densities[i];
    }
    out += "\n";
    for (std::size_t k = 0; k < e.digits.size(); ++k) {
        const DigitEvidence& d = e.digits[k];
        out += "  " + std::to_string(k + 1) + " " + kCategoryNames[k] + ": " + d.digit + " " +
               (d.categoryText.empty() ? "(no category)" : d.categoryText) +
               (d.nearThreshold ? "  [near threshold]" : "") + "\n";
        out += "    rule: " + d.rule + "\n    measures:";
        for (std::size_t i = 0; i < d.measures.size(); ++i) {
            out += i > 0 ? "; " : " ";
            out += d.measures[i].first + " " + d.measures[i].second;
            // A count, with the words that made it.
            if (found != nullptr && i < d.measureIds.size() &&
                std::find(kCountedMeasures.begin(), kCountedMeasures.end(), d.measureIds[i]) !=
                    kCountedMeasures.end()) {
                const std::string forms = formsOf(*found, d.measureIds[i]);
                out += forms.empty() ? "" : ": " + forms;
            }
        }
        out += "\n";
        for (const ThresholdEvidence& t : d.thresholds) {
            out += "    threshold: " + t.measure + " " + t.value + " must be " + t.relation + " " +
                   t.constant + ", margin " + t.margin + (t.near ? " (near threshold)" : "") + "\n";
        }
        if (d.decisiveMove) {
            const double move = d.decisiveMove->second;
            out += "    changes when the " +
                   std::string(thresholdInfo(d.decisiveMove->first).name) + " threshold moves " +
                   (move != 0 ? "by " + signedDensity(move)
                              : std::string(std::signbit(move) ? "down" : "up") + " at all") +
                   "\n";
        }
    }
    return out;
}

PairEvidence explainPair(const TextRecord& first, const TextRecord& second, int strength) {
    PairEvidence p{first.name, second.name, first.code, second.code, strength, {}};
    for (std::size_t k = 0; k < p.agree.size(); ++k) {
        p.agree[k] = codesAgreeAt(p.firstCode, p.secondCode, static_cast<int>(k));
    }
    return p;
}

std::string pairEvidenceText(const PairEvidence& p) {
    std::string agree, differ;
    for (std::size_t k = 0; k < p.agree.size(); ++k) {
        if (p.agree[k]) {
            agree += (agree.empty() ? "" : ", ") + std::string(kCategoryNames[k]);
        } else {
            const auto digitAt = [k](const std::string& code) {
                const std::string_view c = codeCharAt(code, static_cast<int>(k));
                return c.empty() ? std::string("none") : std::string(c);
            };
            differ += (differ.empty() ? "" : ", ") + std::string(kCategoryNames[k]) + " (" +
                      digitAt(p.firstCode) + " vs " + digitAt(p.secondCode) + ")";
        }
    }
    return "agree: " + (agree.empty() ? std::string("none") : agree) +
           "; differ: " + (differ.empty() ? std::string("none") : differ);
}

}  // namespace pelmora
