#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "analysis/form1.h"
#include "app/program_context.h"

namespace pelmora {
namespace {

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
        {"It", "First Person", "0.0101", "0.5", "0.5", false, "Informal", false},
        {"It", "First Person", "0.01", "0.5", "0.5", false, "Neutral", false},
        {"It", "First Person", "0.0099", "0.0201", "0", false, "Formal", false},
        {"It", "First Person", "0.0099", "0.02", "0", false, "Neutral", false},
        {"It", "First Person", "0.0099", "0.02", "0.0201", false, "Formal", false},
        {"It", "First Person", "0", "0", "0", false, "Neutral", false},
        // A flag left from an earlier text silences the informal rules.
        {"Contractions", "It", "0.5", "0", "0", true, "Neutral", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.first) + " / " + c.second + " / " + c.contractions);
        f.lblFormality.setText("");
        ctx.shared().formalFlag = c.flagBefore;
        setRanking({c.first, c.second, "Third Person"});
        setDensities({c.contractions, "0", "0", "0", "0", "0", c.definite, c.indefinite, "0"});
        f.cmdFormality();
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
    const Case cases[] = {
        {"2", "2", "2", "First Person", "It", "First Person"},
        {"2", "2", "2", "It", "Contractions", "Not first person"},
        {"3", "7", "2", "It", "First Person", "Second person"},
        {"1", "2", "5", "First Person", "It", "Third person"},
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
        f.cmdPersonage();
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
        f.cmdPastTenseness();
        EXPECT_EQ(f.lblPastTenseness.text(), c.expected);
    }
}

TEST_F(CategoriesTest, ObligationAndAffectThresholdsAreStrictOnTheRoundedDensity) {
    struct ObligationCase {
        const char* density;
        const char* expected;
    };
    const ObligationCase obligations[] = {
        {"0", "kept"},
        {"0.015", "kept"},
        {"0.0151", "Obligation/Intention"},
        {"0.03", "Obligation/Intention"},
        {"0.0301", "Obligation/Intention - strong"},
    };
    for (const ObligationCase& c : obligations) {
        f.lblObligationIntention.setText("kept");
        f.lblObligation.setText(c.density);
        f.cmdObligation();
        EXPECT_EQ(f.lblObligationIntention.text(), c.expected) << c.density;
    }

    struct AffectCase {
        const char* count;
        const char* words;
        const char* density;
        const char* expected;
    };
    const AffectCase affects[] = {
        {"0", "0", "0", "kept"},  // no words: no division by zero
        {"6", "200", "0.03", "kept"},
        {"6001", "200000", "0.03", "kept"},  // 0.030005 before rounding
        {"7", "200", "0.035", "Affective"},
        {"10", "200", "0.05", "Affective"},
        {"11", "200", "0.055", "Highly Affective"},
        {"1", "3", "0.3333", "Highly Affective"},
    };
    for (const AffectCase& c : affects) {
        f.lblAffect.setText("kept");
        f.lblAffectTotal.setText(c.count);
        f.lblTextLength.setText(c.words);
        f.cmdAffect();
        EXPECT_EQ(f.lblAffectTotal.text(), c.density) << c.count << "/" << c.words;
        EXPECT_EQ(f.lblAffect.text(), c.expected) << c.count << "/" << c.words;
    }
}

}  // namespace
}  // namespace pelmora
