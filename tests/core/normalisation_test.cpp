// The punctuation clean-up and the space normalisation of a text, and the quotation-mark,
// modal-verb and affect-word counts taken on the way.

#include <gtest/gtest.h>

#include <string>

#include "analysis/form1.h"
#include "analysis/normalisation.h"
#include "app/program_context.h"
#include "stores/text_ops.h"

namespace pelmora {
namespace {

std::string normalised(std::string text) {
    removePunctuation(text);
    padWithSingleSpaces(text);
    return text;
}

TEST(Normalisation, StepsRewriteTheTextInTheirOrder) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"", "  "},
        {"...!?", "  "},
        {"Mr. Smith", " mr Smith "},
        {"MRS. X met Dr. No", " mrs X met dr No "},
        // « becomes a space only after the "mrs. " step has looked, and then "mrs. " is seen.
        {"Mrs.\u00ABX", " mrs X "},
        {"mr.\u00BBX", " mr X "},
        {"I dont know", " I don't know "},
        {"Dont go", " Dont go "},
        {"I dont.", " I dont "},
        {"x dont dont dont x", " x don't dont don't x "},
        {"x dont cant wont didnt ime youre x", " x don't can't won't didn't I'm you're x "},
        {"He said, \u201Cyes\u201D and left.", " He said \u201Cyes\u201D and left "},
        {"the boys' books", " the boys books "},
        {"don't", " don't "},
        {"don\u2019t", " don't "},
        {"'Stop!", " op "},
        // A curly apostrophe is made straight only after the "'st" step.
        {"\u2019Stop", " 'Stop "},
        {"x \u2019Stop", " x Stop "},
        {"rock 'n' roll", " rock n roll "},
        {"x '' y", " x y "},
        {"x '''", " x '' "},
        {"well-known [1] (see) a;b:c", " well known 1 see abc "},
        {"\u00ABBonjour\u00BB dit-il", " Bonjour dit il "},
        {"a\r\nb\rc\nd", " a b\rc\nd "},
        {"a\r.\nb", " a b "},
        {"a\r'\nb", " a\r'\nb "},
        {"a\tb   c", " a\tb c "},
        {"  lead and trail  ", " lead and trail "},
        {"\"Quoted\" text", " Quoted text "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(normalised(c.text), c.expected) << c.text;
    }
}

TEST(Normalisation, CountsQuotesModalVerbsAndAffectWordsAnywhereInWords) {
    struct Case {
        const char* text;
        const char* quotes;
        const char* modal;
        const char* affect;
    };
    const Case cases[] = {
        {"", "0", "0", "0"},
        {"!!!", "0", "0", "0"},
        {"\"a\" \"b\" \u201Cc\u201D", "4", "0", "0"},
        {"He needs it.", "0", "2", "0"},
        {"I shouldn't, thought I", "0", "3", "0"},
        {"oughtn't", "0", "2", "0"},
        {"Willing, SHALL, must", "0", "3", "0"},
        {"feelings", "0", "0", "3"},
        {"through", "0", "0", "1"},
        {"heartbreaking", "0", "0", "3"},
        {"Sorely felt", "0", "0", "3"},
        // The modal count is taken after the full stops are gone: "shal.l" reads "shall".
        {"shal.l", "0", "1", "0"},
    };
    for (const Case& c : cases) {
        ProgramContext context;
        Form1& form = context.form1();
        form.Text1.setText(c.text);
        form.cmdPrincipes();
        EXPECT_EQ(form.lblNumOfQuotes.text(), c.quotes) << c.text;
        EXPECT_EQ(form.lblObligation.text(), c.modal) << c.text;
        EXPECT_EQ(form.lblAffectTotal.text(), c.affect) << c.text;
    }
}

// Runs of spaces shrink as repeated halving passes shrink them; checked against the passes
// themselves for small numbers of halvings, where long runs are cheap to build.
TEST(Normalisation, CollapsingRunsOfSpacesEqualsRepeatedHalving) {
    for (int halvings = 0; halvings <= 4; ++halvings) {
        for (int run = 1; run <= 40; ++run) {
            const std::string text = "a" + std::string(static_cast<std::size_t>(run), ' ') + "b" +
                                     std::string(static_cast<std::size_t>(run / 2 + 1), ' ');
            std::string expected = text;
            for (int k = 0; k < halvings; ++k) {
                expected = replaceAll(expected, "  ", " ");
            }
            std::string collapsed = text;
            collapseSpaceRuns(collapsed, halvings);
            EXPECT_EQ(collapsed, expected) << halvings << " halvings, run " << run;
        }
    }
}

}  // namespace
}  // namespace pelmora
