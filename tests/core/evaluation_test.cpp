// The evaluation: passive test, classifiability and the ranking of the nine features.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/form1.h"
#include "app/program_context.h"

namespace pelmora {
namespace {

using Lines = std::vector<std::string>;

void evaluate(Form1& form, const Lines& densities) {
    for (const std::string& d : densities) {
        form.lstTypeFrequencies.append(d);
    }
    form.cmdEvaluate();
}

const std::string kBlock[] = {"First Person", "Second Person", "Third Person",
                              "Common Past Tense Words", "It"};

TEST(Evaluation, RanksFeaturesRepeatingTiedBlocks) {
    ProgramContext context;
    Form1& form = context.form1();
    evaluate(form, {"0.02", "0", "0", "0", "0", "0.03", "0.04", "0.01", "0"});

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
        evaluate(form, c.densities);
        EXPECT_EQ(context.shared().passiveFlag, c.passive) << c.densities[5];
        EXPECT_EQ(form.lstTypes.at(5), c.passive ? "Passive" : "Past Tense Inflections");
        EXPECT_EQ(form.lblClass.text(), c.textClass) << c.densities[0];
    }
}

TEST(Evaluation, TiesRankTheLowerPositionFirst) {
    ProgramContext context;
    Form1& form = context.form1();
    evaluate(form, {"0.01", "0.05", "0.02", "0.05", "0", "0", "0.1", "0", "0.0099"});
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
    evaluate(form, Lines(9, "0"));
    EXPECT_EQ(form.lstTypes.at(5), "Passive");
    form.cmdReset();
    EXPECT_FALSE(context.shared().passiveFlag);
    evaluate(context.form1(), Lines(9, "0"));
    EXPECT_EQ(context.form1().lstTypes.at(5), "Past Tense Inflections");
}

}  // namespace
}  // namespace pelmora
