#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "analysis/form1.h"
#include "app/program_context.h"

namespace pelmora {
namespace {

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
        f.cmdTypeText();
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
        f.cmdTypeText();
    }
    EXPECT_EQ(f.txtTypes.text(),
              "earlier\r\n21100\tmy letter 1.txt\r\n11100\t\r\n21100\tmy letter 1.txt\r\n");
    EXPECT_EQ(f.lstAllTypes.items(), (std::vector<std::string>{"21100", "11100", "21100"}));
    EXPECT_EQ(f.lstTypeNames.items(),
              (std::vector<std::string>{"my letter 1.txt", "", "my letter 1.txt"}));
}

}  // namespace
}  // namespace pelmora
