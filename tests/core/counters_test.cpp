// The counters: contractions, persons, past tense, articles and 'it', each a value field and
// a density line at its pipeline position.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/form1_commands.h"
#include "forms/program_context.h"
#include "tests/support/reference_analysis.h"

namespace pelmora {
namespace {

std::string repeated(const std::string& word, int times) {
    std::string s;
    for (int i = 0; i < times; ++i) {
        s += word + " ";
    }
    return s;
}

void principesAndCounters(ProgramContext& context) {
    Form1Commands(context).cmdPrincipes();
    test::pressCounters(context);
}

TEST(Counters, FillTheirFieldsAndTheNineDensityLines) {
    struct Case {
        std::string text;
        // contractions, first, second, third, past words, -ed, definite, indefinite, it
        std::vector<std::string> fields;
        std::vector<std::string> densities;
    };
    const std::vector<Case> cases = {
        {"", {"0", "0", "0", "0", "0", "0", "0", "0", "0"}, std::vector<std::string>(9, "0")},
        {"?!", {"0", "0", "0", "0", "0", "0", "0", "0", "0"}, std::vector<std::string>(9, "0")},
        // 9 words; we've is first person but no contraction, don't counts through "n't".
        {"I'm here. I'm there. I don't know; we've gone.",
         {"3", "4", "0", "0", "0", "0", "0", "0", "0"},
         {"0.3333", "0.4444", "0", "0", "0", "0", "0", "0", "0"}},
        // 11 words; it's raises both the contractions and 'it'.
        {"It's raining. It was said that he'd walked; she said it.",
         {"2", "0", "0", "2", "3", "1", "0", "0", "3"},
         {"0.1818", "0", "0", "0.1818", "0.2727", "0.0909", "0", "0", "0.2727"}},
        // 13 words; you're and the they forms are contractions only.
        {"You're right, you know. You've felt it; YOU'D agree. They're gone, they'll see.",
         {"5", "0", "3", "0", "1", "0", "0", "0", "1"},
         {"0.3846", "0", "0.2308", "0", "0.0769", "0", "0", "0", "0.0769"}},
        // 100 words; need and bed end in "ed"; wasn't is no was.
        {"was word Was word was word wasn't said word Said walked jumped need bed " +
             repeated("word", 86),
         {"1", "0", "0", "0", "5", "4", "0", "0", "0"},
         {"0.01", "0", "0", "0", "0.05", "0.04", "0", "0", "0"}},
        // 200 words; "a" inside cat is no article.
        {repeated("the cat", 12) + "An dog A dog a " + repeated("cat", 171),
         {"0", "0", "0", "0", "0", "0", "12", "3", "0"},
         {"0", "0", "0", "0", "0", "0", "0.06", "0.015", "0"}},
        // Neighbours share their space: "the the" counts once, "was was was" twice.
        {"the the was was was",
         {"0", "0", "0", "0", "2", "0", "1", "0", "0"},
         {"0", "0", "0", "0", "0.4", "0", "0.2", "0", "0"}},
        // A lone small i is I; first and last words count.
        {"He's sure i said so, he's",
         {"2", "1", "0", "2", "1", "0", "0", "0", "0"},
         {"0.3333", "0.1667", "0", "0.3333", "0.1667", "0", "0", "0", "0"}},
    };
    for (const Case& c : cases) {
        ProgramContext context;
        Form1& form = context.form1();
        form.Text1.setText(c.text);
        principesAndCounters(context);
        const std::vector<std::string> fields = {form.lblContractions.text(),
                                                 form.lblFirstPerson.text(),
                                                 form.lblSecondPerson.text(),
                                                 form.lblThirdPerson.text(),
                                                 form.lblPastTense.text(),
                                                 form.lblPastTenseForms.text(),
                                                 form.lblDefiniteArticle.text(),
                                                 form.lblIndefiniteArticle.text(),
                                                 form.lblIt.text()};
        EXPECT_EQ(fields, c.fields) << c.text;
        EXPECT_EQ(form.lstTypeFrequencies.items(), c.densities) << c.text;
    }
}

TEST(Counters, SecondPressAddsContractionsAgainAndAppendsBehind) {
    ProgramContext context;
    Form1& form = context.form1();
    form.Text1.setText("I'm sure it's fine");
    principesAndCounters(context);
    EXPECT_EQ(form.lblContractions.text(), "2");
    Form1Commands(context).cmdContractions();
    Form1Commands(context).cmdIt();
    EXPECT_EQ(form.lblContractions.text(), "4");
    EXPECT_EQ(form.lblIt.text(), "1");
    ASSERT_EQ(form.lstTypeFrequencies.count(), 11);
    EXPECT_EQ(form.lstTypeFrequencies.at(9), "1");
    EXPECT_EQ(form.lstTypeFrequencies.at(10), "0.25");
}

}  // namespace
}  // namespace pelmora
