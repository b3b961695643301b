#pragma once
// The rule book: every threshold of the evaluation, the five categories, the comparison and
// the report, written once as named constants, and the pure decisions that apply them. A
// decision returns the text it arrives at together with every check it made, so that the
// commands write their stores from it and the explanations only put it into words. The book
// is a value: a moved threshold moves the codes and their explanations together.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rules/feature_names.h"
#include "stores/text_encoding.h"

namespace pelmora {

// Each is a strict comparison with a density already rounded to four decimals.
enum class Threshold {
    PassiveInflections,  // inflection density above it ...
    PassiveCommonPast,   // ... and common past-tense density below it: the -ed forms are passive
    Classifiable,        // a text with any density above it is classifiable
    Contractions,        // above: informal; below: the article rules may make it formal
    DefiniteArticle,     // definite-article density above it: formal
    IndefiniteArticle,   // indefinite-article density above it: formal
    PastInflections,     // inflection density above it: past tense
    Obligation,          // obligation density above it: obligation/intention
    StrongObligation,    // above it: strong
    Affect,              // affect density above it: affective
    HighAffect,          // above it: highly affective
};
inline constexpr std::size_t kThresholdCount = 11;

struct ThresholdInfo {
    Threshold id;
    const char* name;     // "contractions"
    const char* measure;  // "contraction density": what it is compared with
    double standard;
};

inline constexpr std::array<ThresholdInfo, kThresholdCount> kThresholds = {{
    {Threshold::PassiveInflections, "passive inflections", "inflection density", 0.01},
    {Threshold::PassiveCommonPast, "passive common past", "common past-tense density", 0.01},
    {Threshold::Classifiable, "classifiable", "density", 0.01},
    {Threshold::Contractions, "contractions", "contraction density", 0.01},
    {Threshold::DefiniteArticle, "definite article", "definite-article density", 0.02},
    {Threshold::IndefiniteArticle, "indefinite article", "indefinite-article density", 0.02},
    {Threshold::PastInflections, "past inflections", "inflection density", 0.01},
    {Threshold::Obligation, "obligation", "obligation density", 0.015},
    {Threshold::StrongObligation, "strong obligation", "obligation density", 0.03},
    {Threshold::Affect, "affect", "affect density", 0.03},
    {Threshold::HighAffect, "high affect", "affect density", 0.05},
}};

const ThresholdInfo& thresholdInfo(Threshold id);

class RuleBook {
public:
    // Strengths below this are minimal relationships.
    static constexpr int kMinimalBelow = 3;
    // A reference text matches a case when its strength with every questioned text is at
    // least this, unless the examiner chooses another level.
    static constexpr int kMatchedReferenceAtLeast = 4;
    // A strength more than this many standard deviations from the mean is off the norm.
    static constexpr double kSignificanceAbove = 1.65;
    // A digit is near its threshold when a move of one by at most this would change it.
    static constexpr double kNearMargin = 0.002;
    // Below this many words a text's densities rest on too few words to be trusted.
    static constexpr int kReliableWords = 200;
    // A text with any NUL, or with a larger share than this of control and replacement
    // characters, looks like binary data read as text.
    static constexpr double kBinaryShare = 0.01;
    // Labelled texts show how well codes separate labels only with at least this many labels
    // of at least this many texts each.
    static constexpr int kLabelsNeeded = 2;
    static constexpr int kTextsPerLabel = 2;
    // A digit taking one value on at least this share of labelled texts cannot separate them.
    static constexpr double kUnseparatingShare = 0.95;

    // The thresholds as they stand in kThresholds.
    static const RuleBook& standard();

    double operator[](Threshold id) const { return limits_[static_cast<std::size_t>(id)]; }
    RuleBook with(Threshold id, double limit) const;
    // Every threshold times `factor`.
    RuleBook scaled(double factor) const;
    bool operator==(const RuleBook&) const = default;

private:
    RuleBook();
    std::array<double, kThresholdCount> limits_;
};

// The share of a text's characters that are controls or replacement characters; 0 when empty.
double unusualShare(const CharacterCounts& counts);
// Whether a text with these characters looks binary, by kBinaryShare.
bool looksBinary(const CharacterCounts& counts);

// A store's text and the number it reads as (a missing or malformed number reads 0).
struct Reading {
    std::string text;
    double value = 0;
};
Reading reading(std::string_view text);

// The three person counts the personage rule compares.
enum class Person : std::uint8_t { First, Second, Third };
inline constexpr std::array<const char*, 3> kPersonWords = {
    "first-person words", "second-person words", "third-person words"};

// One thing a rule looked at and what it found. What it names are ids; the only texts are the
// store texts it read, which are the values the rules defined.
struct Check {
    enum class Kind : std::uint8_t { Threshold, Ranking, Count, Label };
    enum class Relation : std::uint8_t { Above, Below, OneOf, FewerThan, Is };
    Kind kind = Kind::Threshold;
    Relation relation = Relation::Above;
    int step = 0;                        // the step of the rule that made it
    std::optional<Threshold> threshold;  // threshold checks: the constant, and so the measure
    // Threshold checks: the density line; ranking: the rank from 0; label: the feature's
    // position; count: the person counted.
    int subject = 0;
    std::optional<Person> against;        // count checks: the person compared with
    std::array<const char*, 2> sought{};  // ranking: the features sought; label: the name
    std::string text;                     // the store text read: density, count or name
    std::string rankedDensity;            // ranking checks: the ranked feature's density
    double value = 0, limit = 0;          // threshold and count checks
    bool holds = false;
};

// "above", "below", "one of", "fewer than", "is".
std::string_view relationText(Check::Relation relation);
// What a check looked at: "contraction density", "rank 1", "first-person words", ...
std::string measureText(const Check& check);
// A threshold check's constant as the evidence names it (a moved one may carry more than
// four decimals): "0.01", "0.0105".
std::string limitText(const Check& check);

// The categories each rule writes, one enum per digit, valued by the digit they give.
enum class Formality : char { Neutral = '0', Informal = '1', Formal = '2' };
enum class Personage : char { NotFirst = '0', First = '1', Second = '2', Third = '3' };
enum class PastTenseness : char { Past = '1', NotPast = '2' };
enum class ObligationLevel : char { Obligation = '1', Strong = '2' };
enum class AffectLevel : char { Affective = '1', High = '2' };

// The five positions of a type code.
enum class Category { Formality, Personage, PastTenseness, Obligation, Affect };
// The digits of a code: a pair's strength, its agreeing digits, runs from 0 to this.
inline constexpr int kCodeDigits = 5;
inline constexpr std::array<const char*, kCodeDigits> kCategoryNames = {
    "formality", "personage", "past tenseness", "obligation/intention", "affect"};

// One category's value: which digit's enum, and which of its values.
class CategoryValue {
public:
    constexpr CategoryValue(Formality v)
        : category_(Category::Formality), digit_(static_cast<char>(v)) {}
    constexpr CategoryValue(Personage v)
        : category_(Category::Personage), digit_(static_cast<char>(v)) {}
    constexpr CategoryValue(PastTenseness v)
        : category_(Category::PastTenseness), digit_(static_cast<char>(v)) {}
    constexpr CategoryValue(ObligationLevel v)
        : category_(Category::Obligation), digit_(static_cast<char>(v)) {}
    constexpr CategoryValue(AffectLevel v)
        : category_(Category::Affect), digit_(static_cast<char>(v)) {}

    constexpr Category category() const { return category_; }
    constexpr char digit() const { return digit_; }
    bool operator==(const CategoryValue&) const = default;

private:
    Category category_;
    char digit_;
};

// The text a rule writes into its field for a value: "Formal", "Second person", ...
std::string_view textOf(CategoryValue value);
// A field's text read by the digit table, without regard to case; nothing for any other text.
std::optional<CategoryValue> categoryValueOf(Category category, std::string_view text);
// The value a category's digit stands for; nothing for a digit of no value ("0" but for
// formality and personage).
std::optional<CategoryValue> categoryValueOf(Category category, char digit);

// What a rule wrote into its field and why.
struct Decision {
    std::optional<CategoryValue> value;  // what the field holds afterwards, if one of its texts
    std::vector<Check> checks;           // every check made, in order
    int step = 0;        // the step that wrote `value`; 0 when the field kept its content
    std::string before;  // the field's content, kept only when no step wrote

    // The field's text afterwards.
    std::string text() const;
};

// The evaluation of one text's density lines: the passive test, the classifiability and the
// ranking of the features.
struct Evaluation {
    bool passive = false;  // the passive flag afterwards
    std::vector<Check> passiveChecks;
    std::vector<std::string> labels;           // the feature names, "Passive" at 5 once relabelled
    std::vector<std::string> characterValues;  // every density line so far, in text order
    std::vector<std::string> sortedAdded;      // what the descending list gains
    std::vector<std::string> resultsAdded;     // what the ranking gains
    bool classifiable = false;                 // any density above the classifiable threshold
    std::vector<Check> classChecks;            // the density lines against it
};
// "Classifiable" or "Unclassifiable", as the class field holds it.
std::string_view textClassOf(bool classifiable);

// The lists as they stand before: on a fresh workspace all three are empty, and the ranking
// is then resultsAdded.
Evaluation evaluate(const RuleBook& rules, const std::vector<std::string>& densityLines,
                    const std::vector<std::string>& labels, bool passiveBefore,
                    const std::vector<std::string>& characterValuesBefore = {},
                    const std::vector<std::string>& sortedValuesBefore = {});

// The category rules. Fields are compared whole, without regard to case; `before` is the
// field's content when the command starts.
struct FormalityDecision : Decision {
    bool formalFlag = false;  // the formal flag afterwards
};
// `ranking` names features as `labels` do (the feature names after the evaluation).
FormalityDecision decideFormality(const RuleBook& rules, const std::vector<std::string>& ranking,
                                  const std::vector<std::string>& labels,
                                  const std::vector<std::string>& densityLines,
                                  std::string_view before, bool formalBefore);
Decision decidePersonage(const std::vector<std::string>& ranking,
                         const std::vector<std::string>& labels,
                         const std::vector<std::string>& densityLines, const Reading& first,
                         const Reading& second, const Reading& third);
Decision decidePastTenseness(const RuleBook& rules, const std::vector<std::string>& ranking,
                             const std::vector<std::string>& labels,
                             const std::vector<std::string>& densityLines);
Decision decideObligation(const RuleBook& rules, const Reading& density, std::string_view before);
Decision decideAffect(const RuleBook& rules, const Reading& density, std::string_view before);

// Steps of the category rules, as Decision::step and Check::step give them.
namespace step {
inline constexpr int kFormalRank = 1, kInformalRank = 21, kInformalDensity = 22,
                     kFormalDefinite = 3, kFormalIndefinite = 4, kNeutral = 5;
inline constexpr int kFirstRank = 1, kNotFirst = 2, kSecond = 3, kThird = 4;
inline constexpr int kPastRank = 1, kNotPast = 2, kPastDensity = 3;
inline constexpr int kLow = 1, kHigh = 2;  // obligation and affect
}  // namespace step

// The digit table: the digit of a category text, compared without regard to case; a
// formality field holding none of its texts gives no digit, any other field 0.
std::optional<char> digitOf(Category category, std::string_view text);
// The same for a field holding `value`, or none of its texts.
std::optional<char> digitOf(Category category, const std::optional<CategoryValue>& value);

// Number of the five code positions at which two type codes agree; a position beyond the end
// of a code reads as the empty text.
int typeCodeStrength(std::string_view a, std::string_view b);
// Whether position k (0 to 4) of two codes agrees, as typeCodeStrength counts it.
bool codesAgreeAt(std::string_view a, std::string_view b, int k);
// The character at position k of a code, empty beyond its end.
std::string_view codeCharAt(std::string_view code, int k);
inline bool isMinimal(int strength) {
    return strength < RuleBook::kMinimalBelow;
}

// Everything the classification of one text reads, as the stores hold it when the
// evaluation starts (the affect density already divided).
struct ClassifierInputs {
    std::vector<std::string> densityLines;
    std::vector<std::string> labels =
        std::vector<std::string>(kFeatureNames.begin(), kFeatureNames.end());
    Reading firstPerson, secondPerson, thirdPerson;
    Reading obligationDensity, affectDensity;
};

struct Classification {
    Evaluation evaluation;
    std::array<Decision, 5> decisions;
    std::string code;
};

// The evaluation, the five categories and the code of a text on a freshly reset workspace.
Classification classify(const RuleBook& rules, const ClassifierInputs& inputs);

// The smallest move of `threshold` that changes the digit of `category` for these inputs, as
// a signed distance in density units (the digit changes for any move beyond it); a value
// right at the threshold gives a zero signed the way a move must go; nothing when no move of
// it does.
std::optional<double> decisiveMove(const RuleBook& rules, const ClassifierInputs& inputs,
                                   Category category, Threshold threshold);

// The thresholds the rules of `category` compare with.
std::vector<Threshold> thresholdsOf(Category category);

// A signed move of one threshold, as decisiveMove gives it.
struct ThresholdMove {
    Threshold threshold;
    double move = 0;
};
// The decisive moves of one digit's thresholds.
struct DigitMoves {
    std::optional<ThresholdMove> smallest;  // the first of them on a tie; nothing if none
    std::uint16_t near = 0;  // bit per Threshold whose own move is within the near margin

    bool nearBy(Threshold t) const { return (near >> static_cast<int>(t)) & 1U; }
};
// For each digit the decisive moves of the thresholds it compares with.
std::array<DigitMoves, 5> decisiveMoves(const RuleBook& rules, const ClassifierInputs& inputs);
// Whether a move is within `margin`, compared in millionths as densities and moved thresholds
// carry at most six decimals.
bool withinMargin(double move, double margin = RuleBook::kNearMargin);

}  // namespace pelmora
