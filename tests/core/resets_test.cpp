// The word lists of a fresh analysis form and the two resets.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/form1_commands.h"
#include "app/form2_commands.h"
#include "forms/program_context.h"

namespace pelmora {
namespace {

using Lines = std::vector<std::string>;

TEST(Resets, LoadFillsTheThreeWordListsInOrder) {
    ProgramContext context;
    const Form1& form = context.form1();
    const ListStore& keys = form.lstKeyFunctionWords;
    const ListStore& affect = form.lstWordsOfAffect;
    ASSERT_EQ(keys.count(), 46);
    ASSERT_EQ(affect.count(), 98);
    ASSERT_EQ(form.lstTypes.count(), 9);
    const std::pair<int, const char*> keyAt[] = {
        {0, "the"}, {4, "it's"},     {8, "I'm"},  {11, "I"},    {13, "you"},  {18, "he"},
        {26, "we"}, {31, "they'll"}, {35, "and"}, {36, "knew"}, {45, "felt"},
    };
    for (const auto& [i, word] : keyAt) {
        EXPECT_EQ(keys.at(i), word) << i;
    }
    const std::pair<int, const char*> affectAt[] = {
        {0, "ache"},   {21, "detests"}, {22, "detesting"}, {41, "hatred"},
        {42, "hates"}, {59, "loves"},   {60, "loved"},     {97, "worst"},
    };
    for (const auto& [i, word] : affectAt) {
        EXPECT_EQ(affect.at(i), word) << i;
    }
    EXPECT_EQ(form.lstTypes.items(),
              (Lines{"Contractions", "First Person", "Second Person", "Third Person",
                     "Common Past Tense Words", "Past Tense Inflections", "Definite article",
                     "Indefinite article", "It"}));
}

// Three texts gathered, one name with spaces and one holding CR LF, then every measure
// touched as a run would.
void gatherThree(ProgramContext& context) {
    Form1& form = context.form1();
    const Lines codes = {"21201", "10100", "0100"};
    const Lines names = {"a.txt", "my long name.txt", "odd\r\nname.txt"};
    for (std::size_t i = 0; i < codes.size(); ++i) {
        form.lstAllTypes.append(codes[i]);
        form.lstTypeNames.append(names[i]);
        form.txtTypes.append(codes[i] + "\t" + names[i] + "\r\n");
    }
    form.Text1.setText("I felt the need.");
    Form1Commands(context).cmdPrincipes();
    Form1Commands(context).cmdContractions();
    form.lstTypes.append("extra");
    form.lblFormality.setText("Formal");
}

TEST(Resets, ResetKeepsTheGatheredResultsAndRestoresEverythingElse) {
    ProgramContext context;
    Form1& form = context.form1();
    gatherThree(context);
    const std::string results = form.txtTypes.text();
    context.shared().passiveFlag = true;
    context.shared().formalFlag = true;

    Form1Commands(context).cmdReset();
    Form1& fresh = context.form1();
    EXPECT_EQ(&fresh, &form);  // re-created in place
    EXPECT_TRUE(fresh.visible);
    EXPECT_EQ(fresh.lstAllTypes.items(), (Lines{"21201", "10100", "0100"}));
    EXPECT_EQ(fresh.lstTypeNames.items(), (Lines{"a.txt", "my long name.txt", "odd\r\nname.txt"}));
    EXPECT_EQ(fresh.txtTypes.text(), results);
    EXPECT_EQ(context.shared().savedTypesText, results);
    EXPECT_EQ(context.shared().carriedTypeCodes, "");
    EXPECT_EQ(context.shared().carriedTypeNames, "");
    EXPECT_FALSE(context.shared().passiveFlag);
    EXPECT_FALSE(context.shared().formalFlag);
    EXPECT_EQ(fresh.lstKeyFunctionWords.count(), 46);
    EXPECT_EQ(fresh.lstTypes.count(), 9);
    EXPECT_TRUE(fresh.lstKeyFunctionWordFrequency.empty());
    EXPECT_TRUE(fresh.lstTypeFrequencies.empty());
    EXPECT_EQ(fresh.Text1.text(), "");
    EXPECT_EQ(fresh.lblContractions.text(), "0");
    EXPECT_EQ(fresh.lblTextLength.text(), "0");
    EXPECT_EQ(fresh.lblObligation.text(), "0");
    EXPECT_EQ(fresh.lblFormality.text(), "");
    EXPECT_EQ(fresh.measures().obligationCount, "0");

    // Twice is once.
    Form1Commands(context).cmdReset();
    EXPECT_EQ(context.form1().lstAllTypes.count(), 3);
    EXPECT_EQ(context.form1().lstTypeNames.at(2), "odd\r\nname.txt");
    EXPECT_EQ(context.form1().txtTypes.text(), results);
}

TEST(Resets, ResetWithNothingGatheredKeepsTheResultsBoxText) {
    ProgramContext context;
    Form1& form = context.form1();
    form.txtTypes.setText("typed by the user");
    Form1Commands(context).cmdReset();
    EXPECT_TRUE(context.form1().lstAllTypes.empty());
    EXPECT_TRUE(context.form1().lstTypeNames.empty());
    EXPECT_EQ(context.form1().txtTypes.text(), "typed by the user");
}

TEST(Resets, TotalResetEmptiesBothFormsAndShowsTheMainForm) {
    ProgramContext context;
    gatherThree(context);
    Form1Commands(context).cmdCompare();
    Form2& main = context.form2();
    ASSERT_GT(main.lstDogBox.count(), 0);
    ASSERT_GT(main.lstDogHouse.count(), 0);
    main.txtDogBox.setText("box");
    main.txtDogHouse.setText("house");
    main.visible = false;
    Form1Commands(context).cmdReset();
    context.shared().passiveFlag = true;

    Form1Commands(context).cmdTotalReset();
    const Form1& fresh = context.form1();
    EXPECT_FALSE(fresh.visible);
    EXPECT_TRUE(main.visible);
    EXPECT_TRUE(fresh.lstAllTypes.empty());
    EXPECT_TRUE(fresh.lstTypeNames.empty());
    EXPECT_EQ(fresh.txtTypes.text(), "");
    EXPECT_EQ(fresh.lstWordsOfAffect.count(), 98);
    EXPECT_EQ(main.lstDogBox.count(), 0);
    EXPECT_EQ(main.lstDogHouse.count(), 0);
    EXPECT_EQ(main.txtDogBox.text(), "");
    EXPECT_EQ(main.txtDogHouse.text(), "");
    EXPECT_FALSE(context.shared().passiveFlag);
    EXPECT_EQ(context.shared().savedTypesText, "");
}

}  // namespace
}  // namespace pelmora
