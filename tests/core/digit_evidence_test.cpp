// The evidence of each digit in words: the step of the rule that decided, the checks it made,
// the margins, and whether a small move of a threshold would change the digit.

#include <gtest/gtest.h>

#include "explanation/captions.h"
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
    r.decisive = decisiveMoves(RuleBook::standard(), r.decisions.inputs);
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
        const DigitEvidence d = explainText(recordOf(c.text))
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
    const TextEvidence e = explainText(r);
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

namespace pelmora {
namespace {

// Every digit's rule sentence of each text, decided and explained by `rules`.
std::string ruleSentences(const std::vector<Text>& texts, const RuleBook& rules) {
    std::string out;
    for (const Text& t : texts) {
        Form1Decisions d;
        d.inputs = inputsOf(t);
        const Classification c = classify(rules, d.inputs);
        d.evaluation = c.evaluation;
        for (std::size_t k = 0; k < 5; ++k) {
            d.categories[k] = c.decisions[k];
        }
        for (const DigitEvidence& digit : explainDecisions(d, recordOf(t).measures, rules).digits) {
            out += digit.rule + "\n";
        }
    }
    return out;
}

std::string replaced(std::string text, const std::vector<std::pair<std::string, std::string>>& by) {
    for (const auto& [from, to] : by) {
        std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        for (; at != std::string::npos; at = text.find(from, at + to.size())) {
            text.replace(at, from.size(), to);
        }
    }
    return text;
}

// Each threshold starts at a value no other one has and no density is near, then moves to
// another such value: every sentence naming it names the new value, and nothing else changes.
TEST(WordsFromTheRuleBook, EachThresholdMovedShowsInEverySentenceNamingItAndNowhereElse) {
    struct Move {
        Threshold id;
        const char *from, *to;
    };
    const Move moves[] = {
        {Threshold::PassiveInflections, "0.0124", "0.0132"},
        {Threshold::PassiveCommonPast, "0.0135", "0.0143"},
        {Threshold::Classifiable, "0.0106", "0.0114"},
        {Threshold::Contractions, "0.0111", "0.0119"},
        {Threshold::DefiniteArticle, "0.0222", "0.0238"},
        {Threshold::IndefiniteArticle, "0.0233", "0.0241"},
        {Threshold::PastInflections, "0.0117", "0.0126"},
        {Threshold::Obligation, "0.0155", "0.0163"},
        {Threshold::StrongObligation, "0.0344", "0.0352"},
        {Threshold::Affect, "0.0366", "0.0374"},
        {Threshold::HighAffect, "0.0577", "0.0585"},
    };
    RuleBook base = RuleBook::standard();
    for (const Move& m : moves) {
        base = base.with(m.id, std::stod(m.from));
    }
    const std::vector<Text> texts = {
        {{{0, "0.05"}, kFirst, kSecond}, "0", "0", "0", "0.02", "0.04"},
        {{{0, "0.001"}, {6, "0.05"}, kFirst, kSecond}, "0", "0", "0", "0.05", "0.08"},
        {{{0, "0.001"}, {6, "0.005"}, {7, "0.05"}, kFirst, kSecond}, "0", "0", "0", "0.001"},
        {{{0, "0.001"}, {6, "0.005"}, {7, "0.002"}, kFirst, kSecond}},
        {{{4, "0.05"}, {5, "0.05"}, kFirst, kSecond}},
        {{{4, "0.001"}, {5, "0.05"}, kFirst, kSecond}},
        {{{4, "0.05"}, {5, "0.005"}, kFirst, kSecond}},
    };
    const std::string before = ruleSentences(texts, base);
    // Every sentence that can name a threshold is among them, each with its own limit.
    for (const char* sentence : {
             "informal: contraction density 0.05 is above 0.0111\n",
             "formal: contraction density 0.001 is below 0.0111 and definite-article density "
             "0.05 is above 0.0222\n",
             "formal: contraction density 0.001 is below 0.0111 and indefinite-article density "
             "0.05 is above 0.0233\n",
             "neutral: contraction density 0.001 is below 0.0111 but neither definite-article "
             "density 0.005 is above 0.0222 nor indefinite-article density 0.002 is above "
             "0.0233\n",
             "past tense: inflection density 0.05 is above 0.0117\n",
             "not past tense: the -ed forms count as passive, as inflection density 0.05 is "
             "above 0.0124 and common past-tense density 0.001 is below 0.0135\n",
             "not past tense: inflection density 0.005 is not above 0.0117 and past-tense",
             "obligation: density 0.02 is above 0.0155 and not above 0.0344\n",
             "obligation: density 0.05 is above 0.0344\n",
             "obligation: density 0.001 is not above 0.0155\n",
             "affect: density 0.04 is above 0.0366 and not above 0.0577\n",
             "affect: density 0.08 is above 0.0577\n",
         }) {
        EXPECT_NE(before.find(sentence), std::string::npos) << sentence << "\nin\n" << before;
    }
    for (const Move& m : moves) {
        const std::string after = ruleSentences(texts, base.with(m.id, std::stod(m.to)));
        // No sentence names the classifiable threshold.
        const std::string expected =
            m.id == Threshold::Classifiable ? before : replaced(before, {{m.from, m.to}});
        EXPECT_EQ(after, expected) << thresholdInfo(m.id).name;
    }
}

// With the two article thresholds apart, a text formal by its indefinite articles turns
// neutral, and its sentence names each article's own limit.
TEST(WordsFromTheRuleBook, EachArticleClauseNamesItsOwnThreshold) {
    const Text formal{{{0, "0.001"}, {6, "0.01"}, {7, "0.022"}, kFirst, kSecond}};
    const std::string standard = ruleSentences({formal}, RuleBook::standard());
    EXPECT_EQ(standard.substr(0, standard.find('\n')),
              "formal: contraction density 0.001 is below 0.01 and indefinite-article density "
              "0.022 is above 0.02");
    const RuleBook moved = RuleBook::standard().with(Threshold::IndefiniteArticle, 0.025);
    const std::string sentences = ruleSentences({formal}, moved);
    EXPECT_EQ(sentences.substr(0, sentences.find('\n')),
              "neutral: contraction density 0.001 is below 0.01 but neither definite-article "
              "density 0.01 is above 0.02 nor indefinite-article density 0.022 is above 0.025");
}

std::string helpEntries(const StatedConstants& c) {
    std::string out;
    for (const HelpEntry& e : warningHelpEntries(c)) {
        out += e.shown + ": " + e.meaning + "\n";
    }
    return out;
}

// Every caption, legend and help line stating a constant, in one text.
std::string captions(const StatedConstants& c) {
    return strengthKeyText(c) + "\n" + unstableKeyText(c) + "\n" + fragileKeyText(c) + "\n" +
           significanceBandText(2.1, 4.3, c) + "\n" + strengthHelpText(c) + "\n" +
           detailsHelpText(c) + "\n" + warningsHelpText(c) + "\n" + fewWordsWarning(c.reliableWords) +
           "\n" + sensitivityMovesText(c) + "\n" + stabilityCommandSummary(c) + "\n" +
           helpEntries(c);
}

TEST(WordsFromTheRuleBook, EachStatedConstantMovedShowsInEveryCaptionNamingItAndNowhereElse) {
    using Swaps = std::vector<std::pair<std::string, std::string>>;
    struct Row {
        const char* constant;
        void (*move)(StatedConstants&);
        Swaps swaps;
    };
    const Row rows[] = {
        {"minimal below", [](StatedConstants& c) { c.minimalBelow = 2; },
         {{"0-2 minimal", "0-1 minimal"},
          {"score 4 or 5", "score 3 to 5"},
          {"value of 3 is", "value of 2 is"},
          {"value of 2 or less", "value of 1 or less"},
          {"strength is 2 or less", "strength is 1 or less"}}},
        {"significance", [](StatedConstants& c) { c.significanceAbove = 1.96; },
         {{"\u00b1 1.65 standard", "\u00b1 1.96 standard"}}},
        {"near margin", [](StatedConstants& c) { c.nearMargin = 0.0035; },
         {{"within 0.002 of", "within 0.0035 of"}}},
        {"binary share", [](StatedConstants& c) { c.binaryShare = 0.025; },
         {{"more than 1% of", "more than 2.5% of"}}},
        {"reliable words", [](StatedConstants& c) { c.reliableWords = 150; },
         {{"fewer than 200 words", "fewer than 150 words"}}},
        {"stable share", [](StatedConstants& c) { c.stableShare = 0.7; },
         {{"fewer than 80% of", "fewer than 70% of"}}},
        {"firm share", [](StatedConstants& c) { c.firmShare = 0.9; },
         {{"fewer than 95%", "fewer than 90%"}}},
        {"resamples", [](StatedConstants& c) { c.resamples = 300; },
         {{"default 200)", "default 300)"}}},
        {"block words", [](StatedConstants& c) { c.blockWords = 40; },
         {{"(default 50)", "(default 40)"}}},
        {"sensitivity steps", [](StatedConstants& c) { c.sensitivitySteps = {0.025, 0.2}; },
         {{"by 5% and 10%", "by 2.5% and 20%"}}},
    };
    const std::string standard = captions({});
    for (const Row& row : rows) {
        StatedConstants moved;
        row.move(moved);
        EXPECT_EQ(captions(moved), replaced(standard, row.swaps)) << row.constant;
    }
}

// The sensitivity moves the thresholds by its own steps, and its table names them.
TEST(WordsFromTheRuleBook, TheSensitivityTableNamesTheStepsItMovedBy) {
    const RunResult run = test::runOf({{"a.txt", "01200"}, {"b.txt", "11200"}});
    const std::vector<SensitivityRow> rows = runSensitivity(run, {0.025, 0.2});
    std::vector<std::string> labels;
    for (const TableRow& r : sensitivityTable(run, rows)) {
        labels.push_back(r.at(0));
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"thresholds", "-20%", "-2.5%", "+2.5%", "+20%"}));
}

}  // namespace
}  // namespace pelmora
