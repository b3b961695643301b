#include <gtest/gtest.h>

#include "evidence/digit_evidence.h"
#include "evidence/run_explanation.h"

namespace pelmora {
namespace {

// A text's measures with every density 0 and every count 0, ranked by the first two features.
TextMeasures blankText() {
    TextMeasures m;
    m.name = "t.txt";
    m.textLength = "1000";
    for (std::string& d : m.densities) {
        d = "0";
    }
    m.contractions = m.firstPerson = m.secondPerson = m.thirdPerson = "0";
    m.pastTenseWords = m.pastTenseForms = m.definiteArticle = m.indefiniteArticle = "0";
    m.obligationCount = m.affectCount = "0";
    m.obligationDensity = m.affectDensity = "0";
    m.rankedFirst = "Contractions";
    m.rankedSecond = "First Person";
    m.inflectionFeature = "Past Tense Inflections";
    return m;
}

struct DigitCase {
    const char* what;
    TextMeasures measures;
    int position;  // 0 to 4
    char digit;
    const char* categoryText;
    const char* rule;
    bool near;
};

void expectDigits(const std::vector<DigitCase>& cases) {
    for (const DigitCase& c : cases) {
        const DigitEvidence d =
            explainText(c.measures).digits[static_cast<std::size_t>(c.position)];
        EXPECT_EQ(d.digit, c.digit) << c.what;
        EXPECT_EQ(d.categoryText, c.categoryText) << c.what;
        EXPECT_EQ(d.rule, c.rule) << c.what;
        EXPECT_EQ(d.nearThreshold, c.near) << c.what;
    }
}

TextMeasures withRanking(std::string first, std::string second) {
    TextMeasures m = blankText();
    m.rankedFirst = std::move(first);
    m.rankedSecond = std::move(second);
    return m;
}

TextMeasures withDensities(std::initializer_list<std::pair<int, const char*>> set,
                           std::string first = "It", std::string second = "Second Person") {
    TextMeasures m = withRanking(std::move(first), std::move(second));
    for (const auto& [i, value] : set) {
        m.densities[static_cast<std::size_t>(i)] = value;
    }
    return m;
}

TEST(DigitEvidence, FormalityNamesTheRuleThatDecidedAndFlagsNearThresholds) {
    TextMeasures passive =
        withDensities({{5, "0.03"}, {6, "0.0712"}}, "Definite article", "Passive");
    passive.inflectionFeature = "Passive";
    expectDigits({
        {"contraction density exactly at its threshold", withDensities({{0, "0.01"}, {6, "0.05"}}),
         0, '0', "Neutral", "neutral: contraction density 0.01 is neither above nor below 0.01",
         true},
        {"just above", withDensities({{0, "0.0101"}}), 0, '1', "Informal",
         "informal: contraction density 0.0101 is above 0.01", true},
        {"definite article just above", withDensities({{0, "0.0099"}, {6, "0.0201"}}), 0, '2',
         "Formal",
         "formal: contraction density 0.0099 is below 0.01 and definite-article density 0.0201 "
         "is above 0.02",
         true},
        {"definite article exactly at 0.02", withDensities({{0, "0.0099"}, {6, "0.02"}}), 0, '0',
         "Neutral",
         "neutral: contraction density 0.0099 is below 0.01 but neither definite-article "
         "density 0.02 nor indefinite-article density 0 is above 0.02",
         true},
        {"indefinite article far from every threshold",
         withDensities({{0, "0.005"}, {6, "0.01"}, {7, "0.03"}}), 0, '2', "Formal",
         "formal: contraction density 0.005 is below 0.01 and indefinite-article density 0.03 "
         "is above 0.02",
         false},
        {"neutral far from every threshold", withDensities({{6, "0.012"}, {7, "0.01"}}), 0, '0',
         "Neutral",
         "neutral: contraction density 0 is below 0.01 but neither definite-article density "
         "0.012 nor indefinite-article density 0.01 is above 0.02",
         false},
        {"definite article ranked first",
         withDensities({{0, "0.05"}, {6, "0.0712"}}, "Definite article", "Contractions"), 0, '2',
         "Formal",
         "formal: definite article is among the two most frequent features (0.0712, rank 1)",
         false},
        {"both formal features ranked", passive, 0, '2', "Formal",
         "formal: definite article (0.0712, rank 1) and passive forms (0.03, rank 2) are among "
         "the two most frequent features",
         false},
        {"contractions ranked second, whatever their density",
         withDensities({{0, "0.004"}, {6, "0.05"}}, "It", "Contractions"), 0, '1', "Informal",
         "informal: contractions are among the two most frequent features (0.004, rank 2)", false},
    });
}

TEST(DigitEvidence, PersonageComparesTheThreeCounts) {
    const auto persons = [](const char* f, const char* s, const char* t, const char* second) {
        TextMeasures m = withRanking("It", second);
        m.firstPerson = f;
        m.secondPerson = s;
        m.thirdPerson = t;
        m.densities[1] = "0.0421";
        return m;
    };
    expectDigits({
        {"second person outnumbers a ranked first person", persons("3", "7", "2", "First Person"),
         1, '2', "Second person",
         "second person: more second-person words than first- and third-person words (first 3, "
         "second 7, third 2)",
         false},
        {"third person dominates", persons("1", "2", "5", "It"), 1, '3', "Third person",
         "third person: more third-person words than first- and second-person words (first 1, "
         "second 2, third 5)",
         false},
        {"third person without second-person words", persons("5", "0", "10", "It"), 1, '3',
         "Third person",
         "third person: more third-person words than first- and second-person words (first 5, "
         "second 0, third 10)",
         false},
        {"equal counts keep the ranking", persons("4", "4", "4", "First Person"), 1, '1',
         "First Person",
         "first person: first person is among the two most frequent features (0.0421, rank 2), "
         "and neither second nor third person outnumbers both others (first 4, second 4, third "
         "4)",
         false},
        {"nothing dominates and first person not ranked", persons("4", "4", "4", "It"), 1, '0',
         "Not first person",
         "not first person: first person is not among the two most frequent features, and "
         "neither second nor third person outnumbers both others (first 4, second 4, third 4)",
         false},
    });
}

TEST(DigitEvidence, PastTensenessFollowsInflectionsAndThePassiveRelabelling) {
    TextMeasures passive = withDensities({{5, "0.03"}, {4, "0.0095"}});
    passive.inflectionFeature = "Passive";
    TextMeasures carried = withDensities({{5, "0.005"}});
    carried.inflectionFeature = "Passive";
    expectDigits({
        {"exactly at 0.01", withDensities({{5, "0.01"}}), 2, '2', "Not Past Tense",
         "not past tense: inflection density 0.01 is not above 0.01 and past-tense inflections "
         "are not among the two most frequent features",
         true},
        {"far above", withDensities({{5, "0.0234"}}), 2, '1', "Past Tense",
         "past tense: inflection density 0.0234 is above 0.01", false},
        {"ranked while below 0.01", withDensities({{5, "0.008"}}, "Past Tense Inflections", "It"),
         2, '1', "Past Tense",
         "past tense: past-tense inflections are among the two most frequent features (0.008, "
         "rank 1)",
         false},
        {"relabelled passive", passive, 2, '2', "Not Past Tense",
         "not past tense: the -ed forms count as passive, as inflection density 0.03 is above "
         "0.01 and common past-tense density 0.0095 is below 0.01",
         true},
        {"relabelled by an earlier evaluation", carried, 2, '2', "Not Past Tense",
         "not past tense: the -ed forms were relabelled passive by an earlier evaluation of the "
         "same workspace",
         false},
    });
}

TEST(DigitEvidence, ObligationAndAffectLevelsAtEachThresholdEdge) {
    const auto obligation = [](const char* density) {
        TextMeasures m = blankText();
        m.obligationDensity = density;
        return m;
    };
    const auto affect = [](const char* density) {
        TextMeasures m = blankText();
        m.affectDensity = density;
        return m;
    };
    expectDigits({
        {"0.015", obligation("0.015"), 3, '0', "", "obligation: density 0.015 is not above 0.015",
         true},
        {"0.0129, margin 0.0021", obligation("0.0129"), 3, '0', "",
         "obligation: density 0.0129 is not above 0.015", false},
        {"0.013, margin exactly 0.002", obligation("0.013"), 3, '0', "",
         "obligation: density 0.013 is not above 0.015", true},
        {"0.0151", obligation("0.0151"), 3, '1', "Obligation/Intention",
         "obligation: density 0.0151 is above 0.015 and not above 0.03", true},
        {"0.0225, far from both", obligation("0.0225"), 3, '1', "Obligation/Intention",
         "obligation: density 0.0225 is above 0.015 and not above 0.03", false},
        {"0.03", obligation("0.03"), 3, '1', "Obligation/Intention",
         "obligation: density 0.03 is above 0.015 and not above 0.03", true},
        {"0.0301", obligation("0.0301"), 3, '2', "Obligation/Intention - strong",
         "obligation: density 0.0301 is above 0.03", true},
        {"affect 0.03", affect("0.03"), 4, '0', "", "affect: density 0.03 is not above 0.03", true},
        {"affect 0.035", affect("0.035"), 4, '1', "Affective",
         "affect: density 0.035 is above 0.03 and not above 0.05", false},
        {"affect 0.055", affect("0.055"), 4, '2', "Highly Affective",
         "affect: density 0.055 is above 0.05", false},
    });
}

TEST(DigitEvidence, ThresholdsCarryTheirSignedMarginAndTheReportShowsThem) {
    TextMeasures m = withDensities({{0, "0.0031"}, {6, "0.0712"}, {1, "0.0012"}},
                                   "Definite article", "Third Person");
    m.name = "notice, final.txt";
    m.code = "23200";
    m.contractions = "3";
    m.definiteArticle = "70";
    m.indefiniteArticle = "12";
    m.textLength = "983";
    m.thirdPerson = "40";
    m.obligationCount = "14";
    m.obligationDensity = "0.0142";
    m.affectCount = "2";
    m.affectDensity = "0.002";
    const TextEvidence e = explainText(m);
    EXPECT_TRUE(e.consistent());
    EXPECT_EQ(e.nearCount(), 1);
    const ThresholdCheck& t = e.digits[3].thresholds.at(0);
    EXPECT_EQ(t.margin, "-0.0008");
    EXPECT_EQ(e.digits[4].thresholds.at(0).margin, "-0.028");
    EXPECT_EQ(textEvidenceReport(e),
              "Text: notice, final.txt\n"
              "Code: 23200\n"
              "Ranking: 1 Definite article (0.0712), 2 Third Person (0)\n"
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
              "  4 obligation/intention: 0 (no category)  [near threshold]\n"
              "    rule: obligation: density 0.0142 is not above 0.015\n"
              "    measures: modal verbs 14; text length 983; obligation density 0.0142\n"
              "    threshold: obligation density 0.0142 must be above 0.015, margin -0.0008 "
              "(near threshold)\n"
              "  5 affect: 0 (no category)\n"
              "    rule: affect: density 0.002 is not above 0.03\n"
              "    measures: affect words 2; text length 983; affect density 0.002\n"
              "    threshold: affect density 0.002 must be above 0.03, margin -0.028\n");
}

TEST(DigitEvidence, AnExplanationThatDisagreesWithTheRunSaysSo) {
    TextMeasures m = blankText();
    m.code = "11200";
    EXPECT_TRUE(explainText(m).consistent());
    m.code = "21200";
    const TextEvidence e = explainText(m);
    EXPECT_FALSE(e.consistent());
    EXPECT_NE(textEvidenceReport(e).find("Warning: the rules below give 11200, not the code of "
                                         "the run; do not rely on this explanation.\n"),
              std::string::npos);
}

TEST(DigitEvidence, PairsNameTheDigitsThatAgreeAndDiffer) {
    struct Case {
        const char *a, *b;
        int strength;
        const char* text;
    };
    const Case cases[] = {
        {"21201", "0100", 2,
         "agree: personage, obligation/intention; differ: formality (2 vs 0), past tenseness (2 "
         "vs 0), affect (1 vs none)"},
        {"21201", "21201", 5,
         "agree: formality, personage, past tenseness, obligation/intention, affect; differ: "
         "none"},
        {"21201", "10110", 0,
         "agree: none; differ: formality (2 vs 1), personage (1 vs 0), past tenseness (2 vs 1), "
         "obligation/intention (0 vs 1), affect (1 vs 0)"},
    };
    for (const Case& c : cases) {
        TextMeasures a = blankText(), b = blankText();
        a.code = c.a;
        b.code = c.b;
        const PairEvidence p = explainPair(a, b);
        EXPECT_EQ(p.strength, c.strength) << c.a << " " << c.b;
        EXPECT_EQ(pairEvidenceText(p), c.text) << c.a << " " << c.b;
    }
}

TEST(DigitEvidence, RunExplanationListsTextsPairsAndFilesLeftOut) {
    TextMeasures a = blankText(), b = blankText();
    a.name = "a.txt";
    a.code = "11200";
    b.name = "b.txt";
    b.code = "11200";
    RunSnapshot run;
    run.texts = {a, b};
    run.names = {"a.txt", "b.txt", "by hand.txt"};
    run.pairs = {{0, 1, 5, false}, {0, 2, 3, false}};
    run.skipped = {{"locked.txt", "Permission denied"}};
    const std::string text = runExplanation(run);
    EXPECT_EQ(text.find(textEvidenceReport(explainText(a)) + "\n"), 0u);
    const std::size_t pairs = text.find("Pairs:\n");
    ASSERT_NE(pairs, std::string::npos);
    EXPECT_EQ(text.substr(pairs),
              "Pairs:\n"
              "a.txt-b.txt\t5\tagree: formality, personage, past tenseness, "
              "obligation/intention, affect; differ: none\n"
              "a.txt-by hand.txt\t3\tno measures were kept for a text analysed outside the run\n"
              "\nLeft out as unreadable:\nlocked.txt\tPermission denied\n");
}

}  // namespace
}  // namespace pelmora
