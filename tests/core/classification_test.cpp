// The classification of one text: the evaluation (passive test, classifiability and the
// ranking of the nine features), the five categories and the type code they make.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "analysis/form1_commands.h"
#include "forms/program_context.h"

namespace pelmora {
namespace {

using Lines = std::vector<std::string>;

void evaluate(ProgramContext& context, const Lines& densities) {
    for (const std::string& d : densities) {
        context.form1().lstTypeFrequencies.append(d);
    }
    Form1Commands(context).cmdEvaluate();
}

const std::string kBlock[] = {"First Person", "Second Person", "Third Person",
                              "Common Past Tense Words", "It"};

TEST(Evaluation, RanksFeaturesRepeatingTiedBlocks) {
    ProgramContext context;
    Form1& form = context.form1();
    evaluate(context, {"0.02", "0", "0", "0", "0", "0.03", "0.04", "0.01", "0"});

    EXPECT_TRUE(context.shared().passiveFlag);
    EXPECT_EQ(form.lstTypes.at(5), "Passive");
    EXPECT_EQ(form.lstTypes.count(), 9);
    EXPECT_EQ(form.lstCharacterValues.items(),
              (Lines{"0", "0", "0", "0", "0", "0.01", "0.02", "0.03", "0.04"}));
    EXPECT_EQ(form.lstSortedValues.items(),
              (Lines{"0.04", "0.03", "0.02", "0.01", "0", "0", "0", "0", "0"}));
    Lines expected = {"Definite article", "Passive", "Contractions", "Indefinite article"};
    for (int k = 0; k < 5; ++k) {
        expected.insert(expected.end(), std::begin(kBlock), std::end(kBlock));
    }
    EXPECT_EQ(form.lstResults.items(), expected);
    EXPECT_EQ(form.lstResults.count(), 29);
    EXPECT_EQ(form.lblClass.text(), "Classifiable");
}

TEST(Evaluation, PassiveAndClassifiabilityThresholdsAreStrict) {
    struct Case {
        Lines densities;
        bool passive;
        const char* textClass;
    };
    const Case cases[] = {
        {Lines(9, "0"), false, "Unclassifiable"},
        {{"0", "0", "0", "0", "0", "0.01", "0", "0", "0"}, false, "Unclassifiable"},
        {{"0", "0", "0", "0", "0", "0.0101", "0", "0", "0"}, true, "Classifiable"},
        {{"0", "0", "0", "0", "0.01", "0.05", "0", "0", "0"}, false, "Classifiable"},
        {{"0", "0", "0", "0", "0.0099", "0.05", "0", "0", "0"}, true, "Classifiable"},
        {Lines(9, "0.01"), false, "Unclassifiable"},
        {{"0.0101", "0", "0", "0", "0", "0", "0", "0", "0"}, false, "Classifiable"},
    };
    for (const Case& c : cases) {
        ProgramContext context;
        Form1& form = context.form1();
        evaluate(context, c.densities);
        EXPECT_EQ(context.shared().passiveFlag, c.passive) << c.densities[5];
        EXPECT_EQ(form.lstTypes.at(5), c.passive ? "Passive" : "Past Tense Inflections");
        EXPECT_EQ(form.lblClass.text(), c.textClass) << c.densities[0];
    }
}

TEST(Evaluation, TiesRankTheLowerPositionFirst) {
    ProgramContext context;
    Form1& form = context.form1();
    evaluate(context, {"0.01", "0.05", "0.02", "0.05", "0", "0", "0.1", "0", "0.0099"});
    // 0.1 sorts before 0.05 as text and as number alike.
    const Lines firstFive(form.lstResults.items().begin(), form.lstResults.items().begin() + 5);
    EXPECT_EQ(firstFive, (Lines{"Definite article", "First Person", "Third Person", "First Person",
                                "Third Person"}));
    EXPECT_EQ(form.lstResults.count(), 1 + 4 + 1 + 1 + 1 + 9);
}

TEST(Evaluation, ARaisedPassiveFlagRelabelsTheNextTextUntilAReset) {
    ProgramContext context;
    context.shared().passiveFlag = true;
    Form1& form = context.form1();
    evaluate(context, Lines(9, "0"));
    EXPECT_EQ(form.lstTypes.at(5), "Passive");
    Form1Commands(context).cmdReset();
    EXPECT_FALSE(context.shared().passiveFlag);
    evaluate(context, Lines(9, "0"));
    EXPECT_EQ(context.form1().lstTypes.at(5), "Past Tense Inflections");
}

// A form whose evaluation stores are set by hand: the nine density lines and the ranking.
class CategoriesTest : public ::testing::Test {
protected:
    ProgramContext ctx{std::filesystem::temp_directory_path()};
    Form1& f = ctx.form1();

    void setDensities(const std::vector<std::string>& lines) {
        f.lstTypeFrequencies.clear();
        for (const std::string& line : lines) {
            f.lstTypeFrequencies.append(line);
        }
    }
    void setRanking(const std::vector<std::string>& names) {
        f.lstResults.clear();
        for (const std::string& name : names) {
            f.lstResults.append(name);
        }
    }
    void setTypes(const char* position5) {
        f.lstTypes.clear();
        for (const char* name : {"Contractions", "First Person", "Second Person", "Third Person",
                                 "Common Past Tense Words", position5, "Definite article",
                                 "Indefinite article", "It"}) {
            f.lstTypes.append(name);
        }
    }
};

TEST_F(CategoriesTest, FormalityRankingRuleWinsThenContractionsThenArticlesAtStrictThresholds) {
    struct Case {
        const char* first;
        const char* second;
        const char* contractions;
        const char* definite;
        const char* indefinite;
        bool flagBefore;  // raised by an earlier text without a reset
        const char* expected;
        bool flagAfter;
    };
    const Case cases[] = {
        {"Contractions", "Definite article", "0.2", "0", "0", false, "Formal", true},
        {"passive", "It", "0.2", "0", "0", false, "Formal", true},
        {"Contractions", "It", "0", "0.5", "0.5", false, "Informal", false},
        {"It", "contractions", "0", "0", "0", false, "Informal", false},
        // The density edges of each line are the digit evidence's cases; here only that the
        // form's lines reach the rule.
        {"It", "First Person", "0.0101", "0.5", "0.5", false, "Informal", false},
        {"It", "First Person", "0.0099", "0.02", "0.0201", false, "Formal", false},
        // A flag left from an earlier text silences the informal rules.
        {"Contractions", "It", "0.5", "0", "0", true, "Neutral", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.first) + " / " + c.second + " / " + c.contractions);
        f.lblFormality.setText("");
        ctx.shared().formalFlag = c.flagBefore;
        setRanking({c.first, c.second, "Third Person"});
        setDensities({c.contractions, "0", "0", "0", "0", "0", c.definite, c.indefinite, "0"});
        Form1Commands(ctx).cmdFormality();
        EXPECT_EQ(f.lblFormality.text(), c.expected);
        EXPECT_EQ(ctx.shared().formalFlag, c.flagAfter);
    }
}

TEST_F(CategoriesTest, PersonageDominantSecondOrThirdPersonReplacesTheRankingResult) {
    struct Case {
        const char* f;
        const char* s;
        const char* t;
        const char* first;
        const char* second;
        const char* expected;
    };
    // Equal counts and plain majorities are the digit evidence's cases.
    const Case cases[] = {
        // Third person without second-person words.
        {"5", "0", "10", "First Person", "It", "Third person"},
        {"0", "0", "1", "It", "It", "Third person"},
        {"0", "5", "5", "It", "It", "Not first person"},
        {"5", "5", "3", "first person", "It", "First Person"},
        {"10", "3", "2", "It", "First Person", "First Person"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.f) + "," + c.s + "," + c.t);
        f.lblFirstPerson.setText(c.f);
        f.lblSecondPerson.setText(c.s);
        f.lblThirdPerson.setText(c.t);
        setRanking({c.first, c.second});
        Form1Commands(ctx).cmdPersonage();
        EXPECT_EQ(f.lblPersonage.text(), c.expected);
    }
}

TEST_F(CategoriesTest, PastTensenessNeedsUnrelabelledInflections) {
    struct Case {
        const char* position5;
        const char* first;
        const char* second;
        const char* inflections;
        const char* expected;
    };
    const Case cases[] = {
        {"Past Tense Inflections", "Past Tense Inflections", "It", "0", "Past Tense"},
        {"Past Tense Inflections", "It", "past tense inflections", "0", "Past Tense"},
        {"Past Tense Inflections", "It", "Contractions", "0.0101", "Past Tense"},
        {"Past Tense Inflections", "It", "Contractions", "0.01", "Not Past Tense"},
        {"Passive", "Passive", "It", "0.5", "Not Past Tense"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.position5) + " / " + c.first + " / " + c.inflections);
        setTypes(c.position5);
        setRanking({c.first, c.second});
        setDensities({"0", "0", "0", "0", "0", c.inflections, "0", "0", "0"});
        Form1Commands(ctx).cmdPastTenseness();
        EXPECT_EQ(f.lblPastTenseness.text(), c.expected);
    }
}

TEST_F(CategoriesTest, ObligationAndAffectThresholdsAreStrictOnTheRoundedDensity) {
    struct ObligationCase {
        const char* density;
        const char* expected;
    };
    // The label is kept where no category applies; the edges are the digit evidence's cases.
    const ObligationCase obligations[] = {
        {"0.015", "kept"},
        {"0.0301", "Obligation/Intention - strong"},
    };
    for (const ObligationCase& c : obligations) {
        f.lblObligationIntention.setText("kept");
        f.lblObligation.setText(c.density);
        Form1Commands(ctx).cmdObligation();
        EXPECT_EQ(f.lblObligationIntention.text(), c.expected) << c.density;
    }

    struct AffectCase {
        const char* count;
        const char* words;
        const char* density;
        const char* expected;
    };
    const AffectCase affects[] = {
        {"0", "0", "0", "kept"},             // no words: no division by zero
        {"6001", "200000", "0.03", "kept"},  // 0.030005 before rounding
        {"10", "200", "0.05", "Affective"},
        {"1", "3", "0.3333", "Highly Affective"},
    };
    for (const AffectCase& c : affects) {
        f.lblAffect.setText("kept");
        f.lblAffectTotal.setText(c.count);
        f.lblTextLength.setText(c.words);
        Form1Commands(ctx).cmdAffect();
        EXPECT_EQ(f.lblAffectTotal.text(), c.density) << c.count << "/" << c.words;
        EXPECT_EQ(f.lblAffect.text(), c.expected) << c.count << "/" << c.words;
    }
}

TEST(TypeCode, OneDigitPerCategoryTextIgnoringCaseAndNoFormalityDigitForOtherTexts) {
    struct Case {
        const char* formality;
        const char* personage;
        const char* pastTenseness;
        const char* obligation;
        const char* affect;
        const char* code;
    };
    const Case cases[] = {
        {"", "Not first person", "Past Tense", "", "", "0100"},
        {"Formal ", "Not first person", "Past Tense", "", "", "0100"},
        {"Informal", "Not first person", "Past Tense", "", "", "10100"},
        {"Neutral", "Third person", "Not Past Tense", "Obligation/Intention - strong",
         "Highly Affective", "03222"},
        {"FORMAL", "First Person", "Not Past Tense", "", "Affective", "21201"},
        {"formal", "Second person", "", "Obligation/Intention", "", "22010"},
        {"Neutral", "", "not past tense", "Obligation/Intention - strong ", "Affective ", "00200"},
    };
    for (const Case& c : cases) {
        ProgramContext ctx{std::filesystem::temp_directory_path()};
        Form1& f = ctx.form1();
        f.lblFormality.setText(c.formality);
        f.lblPersonage.setText(c.personage);
        f.lblPastTenseness.setText(c.pastTenseness);
        f.lblObligationIntention.setText(c.obligation);
        f.lblAffect.setText(c.affect);
        f.txtFileName.setText("x.txt");
        Form1Commands(ctx).cmdTypeText();
        ASSERT_EQ(f.lstAllTypes.count(), 1);
        EXPECT_EQ(f.lstAllTypes.at(0), c.code) << c.formality << "|" << c.personage;
        EXPECT_TRUE(f.lstTypology.empty());
    }
}

TEST(TypeCode, GathersCodeAndNameInOrderAndAppendsTheResultsLine) {
    ProgramContext ctx{std::filesystem::temp_directory_path()};
    Form1& f = ctx.form1();
    f.txtTypes.setText("earlier\r\n");
    const struct {
        const char* formality;
        const char* name;
    } texts[] = {{"Formal", "my letter 1.txt"}, {"Informal", ""}, {"Formal", "my letter 1.txt"}};
    for (const auto& t : texts) {
        f.lblFormality.setText(t.formality);
        f.lblPersonage.setText("First Person");
        f.lblPastTenseness.setText("Past Tense");
        f.txtFileName.setText(t.name);
        Form1Commands(ctx).cmdTypeText();
    }
    EXPECT_EQ(f.txtTypes.text(),
              "earlier\r\n21100\tmy letter 1.txt\r\n11100\t\r\n21100\tmy letter 1.txt\r\n");
    EXPECT_EQ(f.lstAllTypes.items(), (std::vector<std::string>{"21100", "11100", "21100"}));
    EXPECT_EQ(f.lstTypeNames.items(),
              (std::vector<std::string>{"my letter 1.txt", "", "my letter 1.txt"}));
}

}  // namespace
}  // namespace pelmora
