// The evidence of each digit in words: the step of the rule that decided, the checks it made,
// the margins, and whether a small move of a threshold would change the digit.

#include <gtest/gtest.h>

#include "explanation/digit_evidence.h"
#include "explanation/run_explanation.h"
#include "tests/support/run_builder.h"

namespace pelmora {
namespace {

using Lines = std::vector<std::string>;

// A text given by its density lines (position, value; the rest 0) and its person counts.
struct Text {
    std::vector<std::pair<int, const char*>> densities;
    const char* first = "0";
    const char* second = "0";
    const char* third = "0";
    const char* obligation = "0";
    const char* affect = "0";
};

ClassifierInputs inputsOf(const Text& t) {
    ClassifierInputs in;
    in.densityLines = Lines(9, "0");
    for (const auto& [i, value] : t.densities) {
        in.densityLines[static_cast<std::size_t>(i)] = value;
    }
    in.firstPerson = reading(t.first);
    in.secondPerson = reading(t.second);
    in.thirdPerson = reading(t.third);
    in.obligationDensity = reading(t.obligation);
    in.affectDensity = reading(t.affect);
    return in;
}

// The text as the run would record it: decided by the standard rule book.
TextRecord recordOf(const Text& t, std::string name = "t.txt") {
    TextRecord r;
    r.name = name;
    r.decisions.inputs = inputsOf(t);
    const Classification c = classify(RuleBook::standard(), r.decisions.inputs);
    r.decisions.evaluation = c.evaluation;
    for (std::size_t k = 0; k < 5; ++k) {
        r.decisions.categories[k] = c.decisions[k];
    }
    r.code = c.code;
    TextMeasures& m = r.measures;
    m.name = name;
    m.code = c.code;
    for (std::size_t i = 0; i < 9; ++i) {
        m.densities[i] = r.decisions.inputs.densityLines[i];
    }
    m.firstPerson = t.first;
    m.secondPerson = t.second;
    m.thirdPerson = t.third;
    m.obligationDensity = t.obligation;
    m.affectDensity = t.affect;
    m.textLength = "1000";
    m.contractions = m.pastTenseWords = m.pastTenseForms = m.definiteArticle = m.indefiniteArticle =
        m.obligationCount = m.affectCount = "0";
    return r;
}

// A text of the given density lines and no person counts.
Text densities(const std::vector<std::pair<int, const char*>>& lines) {
    return Text{lines};
}

struct DigitCase {
    Text text;
    int position;  // 0 to 4
    char digit;
    bool near;
    const char* categoryText;
    const char* rule;
};

void expectDigits(const std::vector<DigitCase>& cases) {
    for (const DigitCase& c : cases) {
        const DigitEvidence d = explainText(recordOf(c.text), RuleBook::standard())
                                    .digits[static_cast<std::size_t>(c.position)];
        EXPECT_EQ(d.digit, c.digit) << c.rule;
        EXPECT_EQ(d.categoryText, c.categoryText) << c.rule;
        EXPECT_EQ(d.rule, c.rule);
        EXPECT_EQ(d.nearThreshold, c.near) << c.rule;
    }
}

// First and second person lead the ranking, so no ranking rule of formality applies.
constexpr std::pair<int, const char*> kFirst{1, "0.2"}, kSecond{2, "0.1"};

TEST(DigitEvidence, FormalityNamesTheStepThatDecidedAndFlagsNearThresholds) {
    expectDigits({
        {densities({{0, "0.01"}, {6, "0.05"}, kFirst, kSecond}), 0, '0', true, "Neutral",
         "neutral: contraction density 0.01 is neither above nor below 0.01"},
        {densities({{0, "0.0101"}, kFirst, kSecond}), 0, '1', true, "Informal",
         "informal: contraction density 0.0101 is above 0.01"},
        {densities({{0, "0.0099"}, {6, "0.0201"}, kFirst, kSecond}), 0, '2', true, "Formal",
         "formal: contraction density 0.0099 is below 0.01 and definite-article density 0.0201 "
         "is above 0.02"},
        {densities({{0, "0.0099"}, {6, "0.02"}, kFirst, kSecond}), 0, '0', true, "Neutral",
         "neutral: contraction density 0.0099 is below 0.01 but neither definite-article "
         "density 0.02 nor indefinite-article density 0 is above 0.02"},
        // Moving the contraction threshold down to 0.005 makes the text informal: far away.
        {densities({{0, "0.005"}, {6, "0.01"}, {7, "0.03"}, kFirst, kSecond}), 0, '2', false,
         "Formal",
         "formal: contraction density 0.005 is below 0.01 and indefinite-article density 0.03 "
         "is above 0.02"},
        {densities({{6, "0.012"}, {7, "0.01"}, kFirst, kSecond}), 0, '0', false, "Neutral",
         "neutral: contraction density 0 is below 0.01 but neither definite-article density "
         "0.012 nor indefinite-article density 0.01 is above 0.02"},
        // -ed forms without the common past forms are passive, and rank second.
        {densities({{5, "0.03"}, {6, "0.0712"}}), 0, '2', false, "Formal",
         "formal: definite article (0.0712, rank 1) and passive forms (0.03, rank 2) are among "
         "the two most frequent features"},
        // Ranked, contractions make a text informal whatever their density.
        {densities({{0, "0.004"}, {8, "0.05"}}), 0, '1', false, "Informal",
         "informal: contractions are among the two most frequent features (0.004, rank 2)"},
    });
}

TEST(DigitEvidence, PersonageComparesTheThreeCounts) {
    // 'it' ranks first and the first person second, unless its density is 0.
    const auto persons = [](const char* f, const char* s, const char* t, const char* firstDensity) {
        return Text{{{8, "0.05"}, {1, firstDensity}}, f, s, t};
    };
    expectDigits({
        {persons("3", "7", "2", "0.0421"), 1, '2', false, "Second person",
         "second person: more second-person words than first- and third-person words (first 3, "
         "second 7, third 2)"},
        {persons("1", "2", "5", "0"), 1, '3', false, "Third person",
         "third person: more third-person words than first- and second-person words (first 1, "
         "second 2, third 5)"},
        {persons("4", "4", "4", "0.0421"), 1, '1', false, "First Person",
         "first person: first person is among the two most frequent features (0.0421, rank 2), "
         "and neither second nor third person outnumbers both others (first 4, second 4, third "
         "4)"},
        {persons("4", "4", "4", "0"), 1, '0', false, "Not first person",
         "not first person: first person is not among the two most frequent features, and "
         "neither second nor third person outnumbers both others (first 4, second 4, third 4)"},
    });
}

TEST(DigitEvidence, PastTensenessFollowsInflectionsAndThePassiveTest) {
    expectDigits({
        {densities({{5, "0.01"}, {8, "0.05"}, {1, "0.04"}}), 2, '2', true, "Not Past Tense",
         "not past tense: inflection density 0.01 is not above 0.01 and past-tense inflections "
         "are not among the two most frequent features"},
        {densities({{5, "0.0234"}, {4, "0.02"}, {8, "0.05"}, {1, "0.04"}}), 2, '1', false,
         "Past Tense", "past tense: inflection density 0.0234 is above 0.01"},
        // Ranked first; but lowering the passive threshold by 0.002 would make them passive.
        {densities({{5, "0.008"}}), 2, '1', true, "Past Tense",
         "past tense: past-tense inflections are among the two most frequent features (0.008, "
         "rank 1)"},
        {densities({{5, "0.0075"}}), 2, '1', false, "Past Tense",
         "past tense: past-tense inflections are among the two most frequent features (0.0075, "
         "rank 1)"},
        {densities({{5, "0.03"}, {4, "0.0095"}}), 2, '2', true, "Not Past Tense",
         "not past tense: the -ed forms count as passive, as inflection density 0.03 is above "
         "0.01 and common past-tense density 0.0095 is below 0.01"},
    });
}

TEST(DigitEvidence, ObligationAndAffectLevelsAtEachThresholdEdge) {
    const auto obligation = [](const char* density) { return Text{{}, "0", "0", "0", density}; };
    const auto affect = [](const char* density) { return Text{{}, "0", "0", "0", "0", density}; };
    // Near: moving a threshold by 0.002 or less changes the digit; so 0.013, not 0.0129.
    expectDigits({
        {obligation("0.015"), 3, '0', true, "", "obligation: density 0.015 is not above 0.015"},
        {obligation("0.0129"), 3, '0', false, "", "obligation: density 0.0129 is not above 0.015"},
        {obligation("0.013"), 3, '0', true, "", "obligation: density 0.013 is not above 0.015"},
        {obligation("0.0151"), 3, '1', true, "Obligation/Intention",
         "obligation: density 0.0151 is above 0.015 and not above 0.03"},
        {obligation("0.0225"), 3, '1', false, "Obligation/Intention",
         "obligation: density 0.0225 is above 0.015 and not above 0.03"},
        {obligation("0.03"), 3, '1', true, "Obligation/Intention",
         "obligation: density 0.03 is above 0.015 and not above 0.03"},
        {obligation("0.0301"), 3, '2', true, "Obligation/Intention - strong",
         "obligation: density 0.0301 is above 0.03"},
        {affect("0.03"), 4, '0', true, "", "affect: density 0.03 is not above 0.03"},
        {affect("0.035"), 4, '1', false, "Affective",
         "affect: density 0.035 is above 0.03 and not above 0.05"},
        {affect("0.055"), 4, '2', false, "Highly Affective", "affect: density 0.055 is above 0.05"},
    });
}

TEST(DigitEvidence, TheReportShowsEveryCheckWithItsSignedMargin) {
    TextRecord r =
        recordOf({{{0, "0.0031"}, {6, "0.0712"}, {1, "0.0012"}}, "0", "0", "40", "0.0142", "0.002"},
                 "notice, final.txt");
    TextMeasures& m = r.measures;
    m.contractions = "3";
    m.definiteArticle = "70";
    m.indefiniteArticle = "12";
    m.textLength = "983";
    m.obligationCount = "14";
    m.affectCount = "2";
    const TextEvidence e = explainText(r, RuleBook::standard());
    EXPECT_EQ(e.code, "23200");
    EXPECT_EQ(e.nearCount(), 1);
    EXPECT_EQ(textEvidenceReport(e),
              "Text: notice, final.txt\n"
              "Code: 23200\n"
              "Ranking: 1 Definite article (0.0712), 2 Contractions (0.0031)\n"
              "Densities: contractions 0.0031, first person 0.0012, second person 0, third "
              "person 0, common past tense words 0, past tense inflections 0, definite article "
              "0.0712, indefinite article 0, it 0\n"
              "  1 formality: 2 Formal\n"
              "    rule: formal: definite article is among the two most frequent features "
              "(0.0712, rank 1)\n"
              "    measures: contractions 3; definite articles 70; indefinite articles 12; text "
              "length 983; contraction density 0.0031; definite-article density 0.0712; "
              "indefinite-article density 0\n"
              "  2 personage: 3 Third person\n"
              "    rule: third person: more third-person words than first- and second-person "
              "words (first 0, second 0, third 40)\n"
              "    measures: first-person words 0; second-person words 0; third-person words 40; "
              "text length 983; first-person density 0.0012; second-person density 0; "
              "third-person density 0\n"
              "  3 past tenseness: 2 Not Past Tense\n"
              "    rule: not past tense: inflection density 0 is not above 0.01 and past-tense "
              "inflections are not among the two most frequent features\n"
              "    measures: common past-tense words 0; -ed forms 0; text length 983; common "
              "past-tense density 0; inflection density 0\n"
              "    threshold: inflection density 0 must be above 0.01, margin -0.01\n"
              "    threshold: common past-tense density 0 must be below 0.01, margin -0.01\n"
              "    threshold: inflection density 0 must be above 0.01, margin -0.01\n"
              "    changes when the past inflections threshold moves by -0.01\n"
              "  4 obligation/intention: 0 (no category)  [near threshold]\n"
              "    rule: obligation: density 0.0142 is not above 0.015\n"
              "    measures: modal verbs 14; text length 983; obligation density 0.0142\n"
              "    threshold: obligation density 0.0142 must be above 0.015, margin -0.0008 "
              "(near threshold)\n"
              "    threshold: obligation density 0.0142 must be above 0.03, margin -0.0158\n"
              "    changes when the obligation threshold moves by -0.0008\n"
              "  5 affect: 0 (no category)\n"
              "    rule: affect: density 0.002 is not above 0.03\n"
              "    measures: affect words 2; text length 983; affect density 0.002\n"
              "    threshold: affect density 0.002 must be above 0.03, margin -0.028\n"
              "    threshold: affect density 0.002 must be above 0.05, margin -0.048\n"
              "    changes when the affect threshold moves by -0.028\n");
}

TEST(DigitEvidence, RunExplanationListsTextsPairsWithTheirDigitsAndFilesLeftOut) {
    // Two texts whose names display alike stay two texts, and so does one analysed by hand.
    RunResult run =
        test::runOf({{"café.txt", "11200"},
                     {"café.txt", "11200", "500", TextEncoding::Ascii, 0, "", "caf\xE9.txt"},
                     {"by hand.txt", "0100"}});
    for (TextRecord& t : run.texts) {
        const TextRecord decided = recordOf({}, t.name);
        t.decisions = decided.decisions;
        t.measures = decided.measures;
    }
    run.texts[2].inRun = false;
    run.leftOut = {{"locked.txt", "locked.txt", "Permission denied"}};
    const std::string text = runExplanation(run);
    // The evidence of each text of the run; the one by hand is only in pairs.
    const std::size_t at = text.find("Pairs:\n");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(text.rfind("Text: café.txt\nCode: 11200\n", 0), 0u);
    EXPECT_NE(text.find("\nText: café.txt\nCode: 11200\n"), std::string::npos);
    EXPECT_EQ(text.find("Text: by hand.txt"), std::string::npos);
    EXPECT_EQ(text.substr(at),
              "Pairs:\n"
              "café.txt-café.txt\t5\tagree: formality, personage, past tenseness, "
              "obligation/intention, affect; differ: none\n"
              "café.txt-by hand.txt\t2\tagree: personage, obligation/intention; differ: "
              "formality (1 vs 0), past tenseness (2 vs 0), affect (0 vs none)\n"
              "café.txt-by hand.txt\t2\tagree: personage, obligation/intention; differ: "
              "formality (1 vs 0), past tenseness (2 vs 0), affect (0 vs none)\n"
              "\nLeft out as unreadable:\nlocked.txt\tPermission denied\n");

    // Codes that agree at no place.
    TextRecord a, b;
    a.code = "21201";
    b.code = "10110";
    EXPECT_EQ(pairEvidenceText(explainPair(a, b, 0)),
              "agree: none; differ: formality (2 vs 1), personage (1 vs 0), past tenseness (2 vs "
              "1), obligation/intention (0 vs 1), affect (1 vs 0)");
}

}  // namespace
}  // namespace pelmora
