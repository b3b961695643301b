#include "evidence/digit_evidence.h"

#include <cmath>
#include <cstdlib>
#include <functional>

#include "analysis/feature_names.h"
#include "classify/pair_list.h"
#include "stores/number_text.h"
#include "stores/text_ops.h"

namespace pelmora {

const std::array<const char*, 5> kDigitCategories = {"formality", "personage", "past tenseness",
                                                     "obligation/intention", "affect"};

int TextEvidence::nearCount() const {
    int n = 0;
    for (const DigitEvidence& d : digits) {
        n += d.nearThreshold ? 1 : 0;
    }
    return n;
}

namespace {

constexpr int kContractions = 0, kFirst = 1, kSecond = 2, kThird = 3, kCommonPast = 4,
              kInflections = 5, kDefinite = 6, kIndefinite = 7;

double number(const std::string& text) {
    return strictParse(text).value_or(0.0);
}

// Densities carry at most four decimals, so margins are exact in units of 1/10,000.
long long units(const std::string& text) {
    return std::llround(number(text) * 10000.0);
}

std::string unitsText(long long u) {
    return fourDecimalText(static_cast<double>(u) / 10000.0);
}

std::string marginText(long long u) {
    if (u == 0) {
        return "0";
    }
    return (u > 0 ? "+" : "-") + unitsText(std::llabs(u));
}

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

struct Ranked {
    std::string feature;
    std::string density;
    int rank = 0;  // 1 or 2
};

class Deriver {
public:
    explicit Deriver(const TextMeasures& m) : m_(m) {
        ranked_[0] = m.rankedFirst;
        ranked_[1] = m.rankedSecond;
        relabelled_ = equalsIgnoreCase(m.inflectionFeature, "Passive");
    }

    DigitEvidence formality() const;
    DigitEvidence personage() const;
    DigitEvidence pastTenseness() const;
    DigitEvidence obligation() const;
    DigitEvidence affect() const;

    std::string densityOf(std::string_view feature) const {
        if (equalsIgnoreCase(feature, "Passive")) {
            return m_.densities[kInflections];
        }
        for (std::size_t i = 0; i < kFeatureNames.size(); ++i) {
            if (equalsIgnoreCase(feature, kFeatureNames[i])) {
                return m_.densities[i];
            }
        }
        return "";
    }

    const std::string& rankedAt(int position) const { return ranked_[position]; }

private:
    // The ranked positions among the first two that name one of `features`.
    std::vector<Ranked> rankedAmong(std::initializer_list<std::string_view> features) const {
        std::vector<Ranked> out;
        for (int position : {0, 1}) {
            for (std::string_view f : features) {
                if (equalsIgnoreCase(ranked_[position], f)) {
                    out.push_back({ranked_[position], densityOf(ranked_[position]), position + 1});
                }
            }
        }
        return out;
    }

    static std::string rankedRule(const std::string& prefix, const std::vector<Ranked>& hits) {
        if (hits.size() == 1) {
            return prefix + ": " + featurePhrase(hits[0].feature) +
                   " among the two most frequent features (" + hits[0].density + ", rank " +
                   std::to_string(hits[0].rank) + ")";
        }
        std::string out = prefix + ": ";
        for (std::size_t i = 0; i < hits.size(); ++i) {
            std::string phrase = featurePhrase(hits[i].feature);
            phrase.erase(phrase.rfind(' '));  // the verb comes once, after the list
            out += (i > 0 ? " and " : "") + phrase + " (" + hits[i].density + ", rank " +
                   std::to_string(hits[i].rank) + ")";
        }
        return out + " are among the two most frequent features";
    }

    ThresholdCheck check(const char* measure, const std::string& value, const char* sense,
                         long long constantUnits) const {
        const long long margin = units(value) - constantUnits;
        return {measure,
                value,
                sense,
                unitsText(constantUnits),
                marginText(margin),
                std::llabs(margin) <= kNearUnits};
    }

    static void finish(DigitEvidence& d) {
        for (const ThresholdCheck& t : d.thresholds) {
            d.nearThreshold = d.nearThreshold || t.near;
        }
    }

    const TextMeasures& m_;
    std::string ranked_[2];
    bool relabelled_ = false;
};

DigitEvidence Deriver::formality() const {
    DigitEvidence d;
    const std::string& c = m_.densities[kContractions];
    const std::string& def = m_.densities[kDefinite];
    const std::string& indef = m_.densities[kIndefinite];
    d.measures = {{"contractions", m_.contractions},
                  {"definite articles", m_.definiteArticle},
                  {"indefinite articles", m_.indefiniteArticle},
                  {"text length", m_.textLength},
                  {"contraction density", c},
                  {"definite-article density", def},
                  {"indefinite-article density", indef}};
    const long long cu = units(c);
    if (auto hits = rankedAmong({"Passive", "Definite article"}); !hits.empty()) {
        d.digit = '2';
        d.categoryText = "Formal";
        d.rule = rankedRule("formal", hits);
    } else if (auto informal = rankedAmong({"Contractions"}); !informal.empty()) {
        d.digit = '1';
        d.categoryText = "Informal";
        d.rule = rankedRule("informal", informal);
    } else if (cu > 100) {
        d.digit = '1';
        d.categoryText = "Informal";
        d.rule = "informal: contraction density " + c + " is above 0.01";
        d.thresholds = {check("contraction density", c, "above", 100)};
    } else if (cu < 100 && units(def) > 200) {
        d.digit = '2';
        d.categoryText = "Formal";
        d.rule = "formal: contraction density " + c +
                 " is below 0.01 and definite-article density " + def + " is above 0.02";
        d.thresholds = {check("contraction density", c, "below", 100),
                        check("definite-article density", def, "above", 200)};
    } else if (cu < 100 && units(indef) > 200) {
        d.digit = '2';
        d.categoryText = "Formal";
        d.rule = "formal: contraction density " + c +
                 " is below 0.01 and indefinite-article density " + indef + " is above 0.02";
        d.thresholds = {check("contraction density", c, "below", 100),
                        check("indefinite-article density", indef, "above", 200)};
    } else if (cu == 100) {
        d.digit = '0';
        d.categoryText = "Neutral";
        d.rule = "neutral: contraction density 0.01 is neither above nor below 0.01";
        d.thresholds = {check("contraction density", c, "below", 100)};
    } else {
        d.digit = '0';
        d.categoryText = "Neutral";
        d.rule = "neutral: contraction density " + c +
                 " is below 0.01 but neither definite-article density " + def +
                 " nor indefinite-article density " + indef + " is above 0.02";
        d.thresholds = {check("contraction density", c, "below", 100),
                        check("definite-article density", def, "above", 200),
                        check("indefinite-article density", indef, "above", 200)};
    }
    finish(d);
    return d;
}

DigitEvidence Deriver::personage() const {
    DigitEvidence d;
    d.measures = {{"first-person words", m_.firstPerson},
                  {"second-person words", m_.secondPerson},
                  {"third-person words", m_.thirdPerson},
                  {"text length", m_.textLength},
                  {"first-person density", m_.densities[kFirst]},
                  {"second-person density", m_.densities[kSecond]},
                  {"third-person density", m_.densities[kThird]}};
    const double f = number(m_.firstPerson);
    const double s = number(m_.secondPerson);
    const double t = number(m_.thirdPerson);
    const std::string counts = " (first " + m_.firstPerson + ", second " + m_.secondPerson +
                               ", third " + m_.thirdPerson + ")";
    if (f < t && s < t) {
        d.digit = '3';
        d.categoryText = "Third person";
        d.rule =
            "third person: more third-person words than first- and second-person words" + counts;
    } else if (f < s && t < s) {
        d.digit = '2';
        d.categoryText = "Second person";
        d.rule =
            "second person: more second-person words than first- and third-person words" + counts;
    } else if (auto hits = rankedAmong({"First Person"}); !hits.empty()) {
        d.digit = '1';
        d.categoryText = "First Person";
        d.rule = rankedRule("first person", hits) +
                 ", and neither second nor third person outnumbers both others" + counts;
    } else {
        d.digit = '0';
        d.categoryText = "Not first person";
        d.rule =
            "not first person: first person is not among the two most frequent features, and "
            "neither second nor third person outnumbers both others" +
            counts;
    }
    return d;
}

DigitEvidence Deriver::pastTenseness() const {
    DigitEvidence d;
    const std::string& common = m_.densities[kCommonPast];
    const std::string& inflections = m_.densities[kInflections];
    d.measures = {{"common past-tense words", m_.pastTenseWords},
                  {"-ed forms", m_.pastTenseForms},
                  {"text length", m_.textLength},
                  {"common past-tense density", common},
                  {"inflection density", inflections}};
    if (relabelled_) {
        d.digit = '2';
        d.categoryText = "Not Past Tense";
        if (units(inflections) > 100 && units(common) < 100) {
            d.rule = "not past tense: the -ed forms count as passive, as inflection density " +
                     inflections + " is above 0.01 and common past-tense density " + common +
                     " is below 0.01";
            d.thresholds = {check("inflection density", inflections, "above", 100),
                            check("common past-tense density", common, "below", 100)};
        } else {
            d.rule =
                "not past tense: the -ed forms were relabelled passive by an earlier "
                "evaluation of the same workspace";
        }
    } else if (units(inflections) > 100) {
        d.digit = '1';
        d.categoryText = "Past Tense";
        d.rule = "past tense: inflection density " + inflections + " is above 0.01";
        d.thresholds = {check("inflection density", inflections, "above", 100)};
    } else if (auto hits = rankedAmong({"Past Tense Inflections"}); !hits.empty()) {
        d.digit = '1';
        d.categoryText = "Past Tense";
        d.rule = rankedRule("past tense", hits);
    } else {
        d.digit = '2';
        d.categoryText = "Not Past Tense";
        d.rule = "not past tense: inflection density " + inflections +
                 " is not above 0.01 and past-tense inflections are not among the two most "
                 "frequent features";
        d.thresholds = {check("inflection density", inflections, "above", 100)};
    }
    finish(d);
    return d;
}

// Obligation and affect: one density against a lower and an upper constant.
struct Levels {
    const char* prefix;
    const char* lowText;
    const char* highText;
    long long low, high;  // in 1/10,000
};

DigitEvidence levelEvidence(
    const Levels& levels, const std::string& density,
    std::vector<std::pair<std::string, std::string>> measures,
    const std::function<ThresholdCheck(const std::string&, const char*, long long)>& check) {
    DigitEvidence d;
    d.measures = std::move(measures);
    const long long u = units(density);
    const std::string low = unitsText(levels.low);
    const std::string high = unitsText(levels.high);
    const std::string head = std::string(levels.prefix) + ": density " + density;
    if (u > levels.high) {
        d.digit = '2';
        d.categoryText = levels.highText;
        d.rule = head + " is above " + high;
        d.thresholds = {check(density, "above", levels.high)};
    } else if (u > levels.low) {
        d.digit = '1';
        d.categoryText = levels.lowText;
        d.rule = head + " is above " + low + " and not above " + high;
        d.thresholds = {check(density, "above", levels.low), check(density, "above", levels.high)};
    } else {
        d.digit = '0';
        d.rule = head + " is not above " + low;
        d.thresholds = {check(density, "above", levels.low)};
    }
    for (const ThresholdCheck& t : d.thresholds) {
        d.nearThreshold = d.nearThreshold || t.near;
    }
    return d;
}

DigitEvidence Deriver::obligation() const {
    return levelEvidence(
        {"obligation", "Obligation/Intention", "Obligation/Intention - strong", 150, 300},
        m_.obligationDensity,
        {{"modal verbs", m_.obligationCount},
         {"text length", m_.textLength},
         {"obligation density", m_.obligationDensity}},
        [this](const std::string& v, const char* sense, long long c) {
            return check("obligation density", v, sense, c);
        });
}

DigitEvidence Deriver::affect() const {
    return levelEvidence({"affect", "Affective", "Highly Affective", 300, 500}, m_.affectDensity,
                         {{"affect words", m_.affectCount},
                          {"text length", m_.textLength},
                          {"affect density", m_.affectDensity}},
                         [this](const std::string& v, const char* sense, long long c) {
                             return check("affect density", v, sense, c);
                         });
}

}  // namespace

TextEvidence explainText(const TextMeasures& measures) {
    const Deriver deriver(measures);
    TextEvidence e;
    e.name = measures.name;
    e.code = measures.code;
    e.digits = {deriver.formality(), deriver.personage(), deriver.pastTenseness(),
                deriver.obligation(), deriver.affect()};
    for (const DigitEvidence& d : e.digits) {
        e.derivedCode.push_back(d.digit);
    }
    for (int position : {0, 1}) {
        const std::string& feature = deriver.rankedAt(position);
        e.ranking.emplace_back(feature, deriver.densityOf(feature));
    }
    for (std::size_t i = 0; i < e.densities.size(); ++i) {
        e.densities[i] = measures.densities[i];
    }
    return e;
}

std::string textEvidenceReport(const TextEvidence& e) {
    std::string out = "Text: " + e.name + "\nCode: " + e.code + "\n";
    if (!e.consistent()) {
        out += "Warning: the rules below give " + e.derivedCode +
               ", not the code of the run; do not rely on this explanation.\n";
    }
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
        out += "  " + std::to_string(k + 1) + " " + kDigitCategories[k] + ": " + d.digit + " " +
               (d.categoryText.empty() ? "(no category)" : d.categoryText) +
               (d.nearThreshold ? "  [near threshold]" : "") + "\n";
        out += "    rule: " + d.rule + "\n    measures:";
        for (std::size_t i = 0; i < d.measures.size(); ++i) {
            out += i > 0 ? "; " : " ";
            out += d.measures[i].first + " " + d.measures[i].second;
        }
        out += "\n";
        for (const ThresholdCheck& t : d.thresholds) {
            out += "    threshold: " + t.measure + " " + t.value + " must be " + t.sense + " " +
                   t.constant + ", margin " + t.margin + (t.near ? " (near threshold)" : "") + "\n";
        }
    }
    return out;
}

PairEvidence explainPair(std::string first, std::string firstCode, std::string second,
                         std::string secondCode) {
    PairEvidence p{
        std::move(first), std::move(second), std::move(firstCode), std::move(secondCode), 0, {}};
    p.strength = typeCodeStrength(p.firstCode, p.secondCode);
    for (std::size_t k = 0; k < p.agree.size(); ++k) {
        // Same reading as the comparison: a position beyond a code's end is the empty text.
        const auto digitAt = [k](std::string_view code) {
            return k < code.size() ? code.substr(k, 1) : std::string_view();
        };
        p.agree[k] = equalsIgnoreCase(digitAt(p.firstCode), digitAt(p.secondCode));
    }
    return p;
}

PairEvidence explainPair(const TextMeasures& first, const TextMeasures& second) {
    return explainPair(first.name, first.code, second.name, second.code);
}

std::string pairEvidenceText(const PairEvidence& p) {
    std::string agree, differ;
    for (std::size_t k = 0; k < p.agree.size(); ++k) {
        if (p.agree[k]) {
            agree += (agree.empty() ? "" : ", ") + std::string(kDigitCategories[k]);
        } else {
            const auto digitAt = [k](const std::string& code) {
                return k < code.size() ? code.substr(k, 1) : std::string("none");
            };
            differ += (differ.empty() ? "" : ", ") + std::string(kDigitCategories[k]) + " (" +
                      digitAt(p.firstCode) + " vs " + digitAt(p.secondCode) + ")";
        }
    }
    return "agree: " + (agree.empty() ? std::string("none") : agree) +
           "; differ: " + (differ.empty() ? std::string("none") : differ);
}

}  // namespace pelmora
