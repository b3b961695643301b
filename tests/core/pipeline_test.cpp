// Whole-pipeline runs on short texts whose every measure was worked out by hand, in one
// batch with a reset after each text, as the batch run does.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/form1_commands.h"
#include "app/form2_commands.h"
#include "forms/program_context.h"
#include "run/batch.h"
#include "tests/support/pair_lines.h"
#include "explanation/digit_evidence.h"
#include "exports/measures_table.h"
#include "tests/support/test_data.h"

namespace pelmora {
namespace {

using Lines = std::vector<std::string>;

Lines repeatedBlock(const Lines& block, int times) {
    Lines out;
    for (int i = 0; i < times; ++i) {
        out.insert(out.end(), block.begin(), block.end());
    }
    return out;
}

Lines concat(std::initializer_list<Lines> parts) {
    Lines out;
    for (const Lines& p : parts) {
        out.insert(out.end(), p.begin(), p.end());
    }
    return out;
}

struct HandWorked {
    std::string name, text, text1;
    // name, code, class, length, word length, contractions, first, second, third, past
    // words, -ed, definite, indefinite, it, modal count, obligation density, affect count,
    // affect density, quotes, nine densities, five categories
    Lines measures;
    Lines results;
};

TEST(Pipeline, ShortTextsGiveTheirHandWorkedMeasuresCodesAndPairs) {
    const std::vector<HandWorked> texts = {
        {"p1.txt", "I'm sure I dont know what he said. We felt it was needed!",
         "I'm sure I don't know what he said We felt it was needed ",
         test::splitFields("p1.txt|11122|Classifiable|13|3.3846|2|3|0|1|3|1|0|0|1|1|0.0769|1|"
                           "0.0769|0|0.1538|0.2308|0|0.0769|0.2308|0.0769|0|0|0.0769|Informal|"
                           "First Person|Past Tense|Obligation/Intention - strong|"
                           "Highly Affective"),
         concat({repeatedBlock({"First Person", "Common Past Tense Words"}, 2),
                 {"Contractions"},
                 repeatedBlock({"Third Person", "Past Tense Inflections", "It"}, 3),
                 repeatedBlock({"Second Person", "Definite article", "Indefinite article"}, 3)})},
        // Nothing to measure: every density 0, and the ranking of nine equal densities.
        {"empty.txt", "", "",
         test::splitFields("empty.txt|11200|Unclassifiable|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|"
                           "0|0|0|0|0|0|Informal|First Person|Not Past Tense||"),
         repeatedBlock({"Contractions", "First Person", "Second Person", "Third Person",
                        "Common Past Tense Words", "Past Tense Inflections", "Definite article",
                        "Indefinite article", "It"},
                       9)},
        {"p3 with spaces.txt",
         "The report was prepared.\r\nThe results were analysed and the data reviewed.",
         "The report was prepared The results were analysed and the data reviewed ",
         test::splitFields("p3 with spaces.txt|20100|Classifiable|12|5|0|0|0|0|2|3|3|0|0|0|0|0|0|"
                           "0|0|0|0|0|0.1667|0.25|0.25|0|0|Formal|Not first person|Past Tense||"),
         concat({repeatedBlock({"Past Tense Inflections", "Definite article"}, 2),
                 {"Common Past Tense Words"},
                 repeatedBlock({"Contractions", "First Person", "Second Person", "Third Person",
                                "Indefinite article", "It"},
                               6)})},
        // "-ed" endings without the common past words: passive, formal, not past tense.
        {"p4.txt", "Data is collected, stored and analysed by the team.",
         "Data is collected stored and analysed by the team ",
         test::splitFields("p4.txt|20200|Classifiable|9|4.5556|0|0|0|0|0|3|1|0|0|0|0|0|0|0|0|0|0|"
                           "0|0|0.3333|0.1111|0|0|Formal|Not first person|Not Past Tense||"),
         concat({{"Passive", "Definite article"},
                 repeatedBlock({"Contractions", "First Person", "Second Person", "Third Person",
                                "Common Past Tense Words", "Indefinite article", "It"},
                               7)})},
        // Third person without any second-person word.
        {"p5.txt", "\"He said she knew he was right.\"", "He said she knew he was right ",
         test::splitFields("p5.txt|03200|Classifiable|7|3.2857|0|0|0|3|3|0|0|0|0|0|0|0|0|2|0|0|0|"
                           "0.4286|0.4286|0|0|0|0|Neutral|Third person|Not Past Tense||"),
         concat({repeatedBlock({"Third Person", "Common Past Tense Words"}, 2),
                 repeatedBlock(
                     {"Contractions", "First Person", "Second Person", "Past Tense Inflections",
                      "Definite article", "Indefinite article", "It"},
                     7)})},
    };

    ProgramContext context;

    Form1Commands(context).cmdReset();
    std::string resultsBox;
    for (const HandWorked& t : texts) {
        Form1& form = context.form1();
        form.Text1.setText(t.text);
        form.txtFileName.setText(t.name);
        Form1Commands(context).cmdDoItAll();
        // Row 0 of the table is its header.
        RunResult one;
        one.texts.emplace_back();
        one.texts.back().measures = form.measures();
        one.texts.back().name = form.txtFileName.text();
        EXPECT_EQ(measuresTable(one).at(1), t.measures) << t.name;
        EXPECT_EQ(form.lstResults.items(), t.results) << t.name;
        EXPECT_EQ(form.Text1.text(), t.text1) << t.name;
        resultsBox += t.measures[1] + "\t" + t.name + "\r\n";
        EXPECT_EQ(form.txtTypes.text(), resultsBox);
        Form1Commands(context).cmdReset();
    }

    const Form1& form = context.form1();
    EXPECT_EQ(form.lstAllTypes.items(), (Lines{"11122", "11200", "20100", "20200", "03200"}));
    // Every comparison appends all pairs gathered so far: 1 + 3 + 6 + 10 lines, the last ten
    // being the pairs of all five texts.
    const Form2& main = context.form2();
    const Lines box = test::linesOf(main.lstDogBox);
    ASSERT_EQ(box.size(), 20u);
    EXPECT_EQ(Lines(box.end() - 10, box.end()),
              (Lines{"p1.txt-empty.txt\t2", "p1.txt-p3 with spaces.txt\t1", "p1.txt-p4.txt\t0",
                     "p1.txt-p5.txt\t0", "empty.txt-p3 with spaces.txt\t2", "empty.txt-p4.txt\t3",
                     "empty.txt-p5.txt\t3", "p3 with spaces.txt-p4.txt\t4",
                     "p3 with spaces.txt-p5.txt\t2", "p4.txt-p5.txt\t3"}));
    const Lines house = test::linesOf(main.lstDogHouse);
    ASSERT_EQ(house.size(), 1u + 3 + 4 + 6);
    EXPECT_EQ(Lines(house.end() - 6, house.end()),
              (Lines{"p1.txt-empty.txt\t2", "p1.txt-p3 with spaces.txt\t1", "p1.txt-p4.txt\t0",
                     "p1.txt-p5.txt\t0", "empty.txt-p3 with spaces.txt\t2",
                     "p3 with spaces.txt-p5.txt\t2"}));
}

// Every threshold with texts right at it and one step either side, ties in the ranking, every
// category text, and names that display alike; the codes worked out by hand from the rules.
TEST(Pipeline, BoundaryCorpusGivesItsHandWorkedCodes) {
    const auto run = test::runFolder(test::kBoundary);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"a_above.txt", "01201"},        {"a_at.txt", "01200"},
        {"a_high_above.txt", "01202"},   {"a_high_at.txt", "01201"},
        {"café.txt", "01200"},           {"café.txt", "01200"},
        {"empty.txt", "11200"},          {"f_contr_above.txt", "11200"},
        {"f_contr_at.txt", "01200"},     {"f_contr_below.txt", "01200"},
        {"f_def_above.txt", "21200"},    {"f_def_at.txt", "01200"},
        {"f_def_below.txt", "01200"},    {"f_indef_above.txt", "21200"},
        {"f_indef_at.txt", "01200"},     {"o_above.txt", "01210"},
        {"o_at.txt", "01200"},           {"o_below.txt", "01200"},
        {"o_strong_above.txt", "01220"}, {"o_strong_at.txt", "01210"},
        {"p_common_at.txt", "01100"},    {"p_common_below.txt", "01200"},
        {"p_infl_above.txt", "01100"},   {"p_infl_at.txt", "01200"},
        {"p_infl_below.txt", "01200"},   {"p_passive.txt", "01200"},
        {"punctuation.txt", "11200"},    {"r_tie_formal.txt", "20200"},
        {"s_second.txt", "02200"},       {"t_third.txt", "03200"},
        {"éa.txt", "01200"},             {"Éb.txt", "01200"},
    };
    std::vector<std::pair<std::string, std::string>> codes;
    for (const TextRecord& t : run->texts) {
        codes.emplace_back(t.name, t.code);
    }
    EXPECT_EQ(codes, expected);
    // The two café.txt are two texts: every pair of the 32 is in the report once.
    EXPECT_EQ(run->pairs.count(), 32 * 31 / 2);
    EXPECT_EQ(run->texts[4].nameBytes, "café.txt");
    EXPECT_EQ(run->texts[5].nameBytes, "caf\xE9.txt");
}

TEST(Pipeline, AMovedThresholdMovesTheCodesAndTheirExplanationTogether) {
    ProgramContext context(test::kBoundary);
    context.setRules(RuleBook::standard().with(Threshold::Obligation, 0.0145));
    startProgram(context);
    const auto run = runBatch(context);
    const TextRecord* below = run->byNameBytes("o_below.txt");  // density 0.0149
    ASSERT_NE(below, nullptr);
    EXPECT_EQ(below->code, "01210");
    EXPECT_EQ(run->byNameBytes("o_at.txt")->code, "01210");
    EXPECT_EQ(run->byNameBytes("a_at.txt")->code, "01200");  // untouched by the move
    const DigitEvidence d = explainText(*below).digits[3];
    EXPECT_EQ(d.rule, "obligation: density 0.0149 is above 0.0145 and not above 0.03");
    EXPECT_EQ(d.thresholds.at(0).constant, "0.0145");
    EXPECT_EQ(d.thresholds.at(0).margin, "+0.0004");
    ASSERT_TRUE(d.decisiveMove);
    EXPECT_EQ(d.decisiveMove->first, Threshold::Obligation);
    EXPECT_EQ(signedDensity(d.decisiveMove->second), "+0.0004");
}

}  // namespace
}  // namespace pelmora
